#include "os/linux/app/LinuxKnownPaths.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/base/AsciiCase.h"

namespace trelvin {

namespace {

std::string Home() {
  const char* home = std::getenv("HOME");
  return home ? home : "";
}

std::string XdgDir(const char* variable, const char* fallback) {
  if (const char* value = std::getenv(variable); value && *value == '/') return value;
  return Home() + fallback;
}

}  // namespace

std::string ResolveNoCase(const std::string& base, const std::vector<std::string>& components) {
  std::string path = base;
  for (const std::string& component : components) {
    std::string found = component;
    struct stat st {};
    if (::stat((path + "/" + component).c_str(), &st) != 0) {
      if (DIR* dir = ::opendir(path.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
          if (EqualsNoCase(entry->d_name, component)) {
            found = entry->d_name;
            break;
          }
        }
        ::closedir(dir);
      }
    }
    path += "/" + found;
  }
  return path;
}

std::vector<std::string> LinuxKnownPaths::WinampPlaylistCandidates() {
  const std::string prefix = XdgDir("WINEPREFIX", "/.wine");
  return {ResolveNoCase(prefix, {"drive_c", "Program Files", "Winamp", "WINAMP.m3u"}),
          ResolveNoCase(prefix, {"drive_c", "Archivos de programa", "Winamp", "WINAMP.m3u"})};
}

std::string LinuxKnownPaths::WallpaperBitmapPath() {
  const std::string dir = XdgDir("XDG_DATA_HOME", "/.local/share") + "/Trelvin";
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  return dir + "/wallpaper.bmp";
}

}  // namespace trelvin
