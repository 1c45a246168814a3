#include "os/windows/app/WinKnownPaths.h"

#include "os/windows/WinApi.h"

#include <shlobj.h>

#include "os/windows/WinText.h"
#include "os/windows/app/WinPaths.h"

namespace trelvin {

std::vector<std::string> WinKnownPaths::WinampPlaylistCandidates() {
  // The short 8.3 forms first, in their order; volumes without short names (the default on many
  // current installations) only have the long forms, tried after them in the same order.
  return {"c:\\progra~1\\winamp\\WINAMP.m3u", "c:\\archiv~1\\winamp\\WINAMP.m3u",
          "C:\\Program Files\\Winamp\\WINAMP.m3u", "C:\\Archivos de programa\\Winamp\\WINAMP.m3u"};
}

std::string WinKnownPaths::WallpaperBitmapPath() {
  const std::wstring folder = LocalTrelvinFolder();
  if (folder.empty()) return "";
  return Narrow(folder + L"wallpaper.bmp");
}

std::string WinKnownPaths::PicturesDirectory() { return Narrow(KnownFolder(FOLDERID_Pictures)); }

std::string WinKnownPaths::MusicDirectory() { return Narrow(KnownFolder(FOLDERID_Music)); }

std::string WinKnownPaths::FailureLogPath() {
  const std::wstring folder = LocalTrelvinFolder();
  if (folder.empty()) return "";
  return Narrow(folder + L"trelvin.log");
}

}  // namespace trelvin
