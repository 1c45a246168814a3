#pragma once

#include <string>
#include <vector>

#include "platform/services/Wallpaper.h"

namespace trelvin {

// The wallpaper of the running desktop (by XDG_CURRENT_DESKTOP): GNOME, Cinnamon and MATE through
// gsettings, XFCE through xfconf, KDE Plasma through its scripting interface on D-Bus. Anywhere
// else the bare X root window gets the picture as its background pixmap, kept after the program
// ends and announced through _XROOTPMAP_ID / ESETROOT_PMAP_ID.
class DesktopWallpaper : public Wallpaper {
 public:
  enum class Mechanism { kGnome, kCinnamon, kMate, kXfce, kPlasma, kRootWindow };

  bool SetDeskWallpaper(const std::string& bitmap_path) override;

  // The mechanism for an XDG_CURRENT_DESKTOP value (a colon-separated list, any case).
  static Mechanism MechanismFor(const std::string& current_desktop);
  // Sets the root window's background pixmap on the X display named by DISPLAY.
  static bool SetRootWindowPixmap(const std::string& bitmap_path);

 private:
  // Runs the program with its arguments; true when it ran and exited with status 0.
  static bool RunTool(const std::string& program, const std::vector<std::string>& arguments);
};

}  // namespace trelvin
