// The screen-saver command line: the daemon's arguments and XSCREENSAVER_WINDOW, which anyone
// who starts the program can set. The input is split at NUL bytes; the first part is the
// variable, the others the arguments.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "os/linux/saver/ScreenSaverCommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> parts(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      parts.emplace_back();
    } else {
      parts.back() += static_cast<char>(data[i]);
    }
  }
  for (const std::string& part : parts) {
    const auto id = trelvin::ScreenSaverCommandLine::ParseWindowId(part);
    if (!id) continue;
    // A window id reads as decimal, or as hexadecimal after "0x"; never as octal.
    const bool hex = part.size() > 2 && part[0] == '0' && (part[1] == 'x' || part[1] == 'X');
    const unsigned long long expected =
        std::strtoull(part.c_str() + (hex ? 2 : 0), nullptr, hex ? 16 : 10);
    if (*id == 0 || *id > 0x1fffffffUL || *id != expected) std::abort();
  }
  const std::vector<std::string> args(parts.begin() + 1, parts.end());
  const auto reading = trelvin::ScreenSaverCommandLine::Read(args, parts[0].c_str());
  // Either a window or a reason, never both.
  if (reading.target && !reading.error.empty()) std::abort();
  if (reading.target && reading.target->window > 0x1fffffffUL) std::abort();
  return 0;
}
