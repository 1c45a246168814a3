#pragma once

#include <optional>
#include <string>
#include <vector>

namespace trelvin {

// What a screen-saver daemon of the X desktop (xscreensaver, xfce4-screensaver, mate-screensaver)
// asks of a module: the window to draw into. The daemons pass it as `-window-id ID`, or ask for
// `-root` and name the window in XSCREENSAVER_WINDOW (the root window when that is unset).
class ScreenSaverCommandLine {
 public:
  // The window to draw into.
  struct Target {
    // The window's id; 0 means the root window of the default screen.
    unsigned long window = 0;
  };

  // The result of reading the arguments.
  struct Reading {
    // Empty when the arguments do not ask for the module mode: the program runs as without them.
    std::optional<Target> target;
    // Not empty when the arguments ask for the module mode with an unusable window id.
    std::string error;
  };

  // Reads the arguments after the program's name and the value of XSCREENSAVER_WINDOW (nullptr
  // when unset). The module mode is chosen by `-window-id ID` or `-root` (single or double dash),
  // or by XSCREENSAVER_WINDOW alone when there are no arguments. Any other argument text keeps
  // its usual meaning ("/p", "/c", "/s" ...).
  static Reading Read(const std::vector<std::string>& args, const char* xscreensaver_window);

  // A window id in decimal or "0x" hexadecimal (29 bits at most); nullopt for anything else or 0.
  static std::optional<unsigned long> ParseWindowId(const std::string& text);
};

}  // namespace trelvin
