// trelvin-video.exe: the wide command line turned into UTF-8, as the video maker takes paths.
#include <io.h>
#include <windows.h>

#include <iostream>
#include <string>
#include <vector>

#include "video/command/VideoCommand.h"

namespace {

std::string Utf8(const wchar_t* text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return {};
  std::string utf8(static_cast<std::size_t>(n - 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), n, nullptr, nullptr);
  return utf8;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(Utf8(argv[i]));
  // Paths in messages are UTF-8.
  SetConsoleOutputCP(CP_UTF8);
  return trelvin::video::RunVideoCommand(args, _isatty(_fileno(stderr)) != 0, std::cout, std::cerr);
}
