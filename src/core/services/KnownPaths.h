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
  // The user's own pictures folder (XDG PICTURES, FOLDERID_Pictures), without a trailing
  // separator; empty when the system names none.
  virtual std::string PicturesDirectory() = 0;
  // The user's own music folder (XDG MUSIC, FOLDERID_Music), like PicturesDirectory.
  virtual std::string MusicDirectory() = 0;
  // The file that failures passed over are written to, in the user's state folder (the folder
  // is made when missing); empty when the system names none.
  virtual std::string FailureLogPath() = 0;
};

}  // namespace trelvin
