#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace trelvin::mci {

// One command text split into its parts.
struct MciCommand {
  std::string verb;  // lower-cased
  // The first argument: the device name, or the file of an open command; without its quotes.
  std::string device;
  bool has_device = false;
  std::vector<std::string> words;  // the words after the first argument, as written
};

// Splits `text`. A first argument that starts with a double quote runs to the last double quote
// of the text, so a file name may itself hold quotes. Returns kOk or the error code.
std::uint32_t ParseCommand(const std::string& text, MciCommand& command);

}  // namespace trelvin::mci
