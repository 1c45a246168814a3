#pragma once

#include "core/services/KnownPaths.h"

namespace trelvin {

// Winamp's playlist inside the Wine prefix, each path component matched without regard to case;
// the wallpaper bitmap under the XDG data directory.
class LinuxKnownPaths : public KnownPaths {
 public:
  std::vector<std::string> WinampPlaylistCandidates() override;
  std::string WallpaperBitmapPath() override;
};

// `base` followed by `components`, each matched case-insensitively against the entries that
// exist (an exact match preferred); components that match nothing are kept as given.
std::string ResolveNoCase(const std::string& base, const std::vector<std::string>& components);

}  // namespace trelvin
