#include "os/linux/saver/ScreenSaverCommandLine.h"

#include <cctype>

namespace trelvin {

namespace {

bool IsOption(const std::string& arg, const std::string& name) {
  return arg == "-" + name || arg == "--" + name;
}

}  // namespace

std::optional<unsigned long> ScreenSaverCommandLine::ParseWindowId(const std::string& text) {
  // Decimal, or hexadecimal after "0x": a leading zero does not make the rest octal, and every
  // character counts (an id with a NUL inside is not the number before it).
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const std::size_t start = hex ? 2 : 0;
  if (start == text.size()) return std::nullopt;
  unsigned long long value = 0;
  for (std::size_t i = start; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (hex ? !std::isxdigit(c) : !std::isdigit(c)) return std::nullopt;
    const unsigned digit = std::isdigit(c) ? c - '0' : (std::tolower(c) - 'a' + 10);
    value = value * (hex ? 16 : 10) + digit;
    // X resource ids are 29 bits wide; anything larger is not a window.
    if (value > 0x1fffffffULL) return std::nullopt;
  }
  if (value == 0) return std::nullopt;
  return static_cast<unsigned long>(value);
}

ScreenSaverCommandLine::Reading ScreenSaverCommandLine::Read(const std::vector<std::string>& args,
                                                             const char* xscreensaver_window) {
  Reading reading;
  bool root = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (IsOption(args[i], "window-id")) {
      const std::optional<unsigned long> id =
          i + 1 < args.size() ? ParseWindowId(args[i + 1]) : std::nullopt;
      if (!id) {
        reading.error = "-window-id needs the id of a window, such as 0x2a00007";
        return reading;
      }
      reading.target = Target{*id};
      return reading;
    }
    if (IsOption(args[i], "root")) root = true;
  }
  const bool from_environment = xscreensaver_window && *xscreensaver_window;
  if (!root && !(args.empty() && from_environment)) return reading;
  if (!from_environment) {
    reading.target = Target{0};
    return reading;
  }
  const std::optional<unsigned long> id = ParseWindowId(xscreensaver_window);
  if (!id) {
    reading.error = "XSCREENSAVER_WINDOW does not hold the id of a window";
    return reading;
  }
  reading.target = Target{*id};
  return reading;
}

}  // namespace trelvin
