#pragma once

#include "core/services/KnownPaths.h"

namespace trelvin {

// Winamp's playlist inside the Wine prefix, each path component matched without regard to case;
// the wallpaper bitmap under the XDG data directory; the user's folders by the XDG user-dirs
// rules; the failure log under the XDG state directory.
class LinuxKnownPaths : public KnownPaths {
 public:
  std::vector<std::string> WinampPlaylistCandidates() override;
  std::string WallpaperBitmapPath() override;
  std::string PicturesDirectory() override;
  std::string MusicDirectory() override;
  std::string FailureLogPath() override;
};

// The user's folder NAME ("PICTURES", "MUSIC") by the contents of user-dirs.dirs; the folder of
// that name in `home` ("Pictures") when the file has no valid entry.
std::string XdgUserDir(const std::string& user_dirs, const std::string& name,
                       const std::string& home);

// `base` followed by `components`, each matched case-insensitively against the entries that
// exist (an exact match preferred); components that match nothing are kept as given.
std::string ResolveNoCase(const std::string& base, const std::vector<std::string>& components);

}  // namespace trelvin
