#pragma once

#include <string>
#include <vector>

#include <QDeadlineTimer>

#include "core/services/Wallpaper.h"

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

  // The whole command, every outside tool it runs included, ends within this time.
  static constexpr int kCommandMs = 4000;

 private:
  // Runs the program with its arguments on a thread of its own, killed at `deadline`; meanwhile
  // the window thread goes on painting, but runs no user input and no timer, so no handler starts
  // inside the command. True when it ran and exited with status 0; its output in `output`.
  static bool RunTool(const std::string& program, const std::vector<std::string>& arguments,
                      const QDeadlineTimer& deadline, std::string* output = nullptr);
};

}  // namespace trelvin
