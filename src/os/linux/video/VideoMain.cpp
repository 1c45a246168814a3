// trelvin-video on Linux: the arguments are UTF-8 already.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "video/command/VideoCommand.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return trelvin::video::RunVideoCommand(args, ::isatty(STDERR_FILENO) != 0, std::cout, std::cerr);
}
