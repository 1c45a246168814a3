// The outside player's playlist: found at start-up, handed to the desktop when a show starts.
#include <string>

#include "core/base/Guard.h"
#include "core/shell/FormMainSlide.h"

namespace trelvin {

std::string FormMainSlide::FindWinampPlaylist() {
  for (const std::string& candidate : services_.known_paths.WinampPlaylistCandidates()) {
    if (FileExists(candidate)) return candidate;
  }
  return "";
}

void FormMainSlide::StartWinamp() {
  std::string path;
  Step([&] { path = FindWinampPlaylist(); });
  Step([&] { services_.shell.ShellExecute(path, "", kSwHide); });
}

}  // namespace trelvin
