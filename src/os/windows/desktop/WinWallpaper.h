#pragma once

#include <string>

#include "core/services/Wallpaper.h"

namespace trelvin {

// The desktop wallpaper through SystemParametersInfoW, stored in the user's profile and announced
// to the other programs.
class WinWallpaper : public Wallpaper {
 public:
  bool SetDeskWallpaper(const std::string& bitmap_path) override;
};

}  // namespace trelvin
