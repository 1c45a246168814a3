// The screen-saver command line: the daemon's arguments and XSCREENSAVER_WINDOW, which anyone
// who starts the program can set. The input is split at NUL bytes; the first part is the
// variable, the others the arguments.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "os/linux/saver/ScreenSaverCommandLine.h"

namespace {

// What a window id must read as: decimal, or hexadecimal after "0x".
bool SameNumber(const std::string& text, unsigned long value) {
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  unsigned long long expected = 0;
  for (std::size_t i = hex ? 2 : 0; i < text.size(); ++i) {
    const char c = text[i];
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) return false;
    expected = expected * (hex ? 16 : 10) + static_cast<unsigned>(digit);
    if (expected > 0x1fffffffULL) return false;
  }
  return expected == value;
}

}  // namespace

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
    if (id && (*id == 0 || *id > 0x1fffffffUL || !SameNumber(part, *id))) std::abort();
  }
  const std::vector<std::string> args(parts.begin() + 1, parts.end());
  const auto reading = trelvin::ScreenSaverCommandLine::Read(args, parts[0].c_str());
  // Either a window or a reason, never both.
  if (reading.target && !reading.error.empty()) std::abort();
  if (reading.target && reading.target->window > 0x1fffffffUL) std::abort();
  return 0;
}
