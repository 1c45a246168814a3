#pragma once

#include <string>
#include <vector>

namespace trelvin {

// Fixed file locations the program uses, as realised on the platform.
class KnownPaths {
 public:
  virtual ~KnownPaths() = default;
  // Where Winamp's default playlist may lie, in the order to try them.
  virtual std::vector<std::string> WinampPlaylistCandidates() = 0;
  // The bitmap file that the wallpaper command writes (its directory is created when missing).
  virtual std::string WallpaperBitmapPath() = 0;
};

}  // namespace trelvin
