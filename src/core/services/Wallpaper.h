#pragma once

#include <string>

namespace trelvin {

// The desktop wallpaper.
class Wallpaper {
 public:
  virtual ~Wallpaper() = default;
  // Makes the bitmap file the desktop's wallpaper, persistently; true when the desktop's mechanism
  // reported success.
  virtual bool SetDeskWallpaper(const std::string& bitmap_path) = 0;
};

}  // namespace trelvin
