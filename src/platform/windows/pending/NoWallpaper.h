#pragma once

#include "platform/services/Wallpaper.h"

namespace trelvin {

// Until the wallpaper is wired on this platform: setting it fails.
class NoWallpaper : public Wallpaper {
 public:
  bool SetDeskWallpaper(const std::string&) override { return false; }
};

}  // namespace trelvin
