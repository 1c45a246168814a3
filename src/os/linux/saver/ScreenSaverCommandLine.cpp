#include "os/linux/saver/ScreenSaverCommandLine.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

namespace trelvin {

namespace {

bool IsOption(const std::string& arg, const std::string& name) {
  return arg == "-" + name || arg == "--" + name;
}

}  // namespace

std::optional<unsigned long> ScreenSaverCommandLine::ParseWindowId(const std::string& text) {
  if (text.empty() || !std::isxdigit(static_cast<unsigned char>(text.front()))) return std::nullopt;
  errno = 0;
  char* end = nullptr;
  const unsigned long long value = std::strtoull(text.c_str(), &end, 0);
  // X resource ids are 29 bits wide; anything larger is not a window.
  if (errno != 0 || *end != '\0' || value == 0 || value > 0x1fffffffULL) return std::nullopt;
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
