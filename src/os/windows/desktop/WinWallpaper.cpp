#include "os/windows/desktop/WinWallpaper.h"

#include <windows.h>

#include "os/windows/WinText.h"

namespace trelvin {

bool WinWallpaper::SetDeskWallpaper(const std::string& bitmap_path) {
  // The system accepts any path, even of a missing file, and would show a plain desktop: only a
  // bitmap that is really there is offered.
  std::wstring path = Widen(bitmap_path);
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (bitmap_path.empty() || attributes == INVALID_FILE_ATTRIBUTES ||
      (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return false;
  }
  return SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path.data(),
                               SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE) != FALSE;
}

}  // namespace trelvin
