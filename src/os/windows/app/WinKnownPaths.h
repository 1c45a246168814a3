#pragma once

#include "core/services/KnownPaths.h"

namespace trelvin {

// Winamp's playlist where Winamp installs it, and the wallpaper bitmap in the user's local
// application data (a normal user cannot write to the root of the system drive).
class WinKnownPaths : public KnownPaths {
 public:
  std::vector<std::string> WinampPlaylistCandidates() override;
  std::string WallpaperBitmapPath() override;
  // The user's known folders (FOLDERID_Pictures, FOLDERID_Music), wherever the user moved them.
  std::string PicturesDirectory() override;
  std::string MusicDirectory() override;
  // trelvin.log in the local application data's Trelvin folder.
  std::string FailureLogPath() override;
};

}  // namespace trelvin
