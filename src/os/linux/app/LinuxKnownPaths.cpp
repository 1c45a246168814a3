#include "os/linux/app/LinuxKnownPaths.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
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

// "PICTURES" as the default folder's name, "Pictures".
std::string Capitalised(const std::string& name) {
  std::string text = AsciiLower(name);
  if (!text.empty()) text[0] = static_cast<char>(text[0] - 'a' + 'A');
  return text;
}

// The user's folder `name` by the user-dirs rules: $XDG_CONFIG_HOME/user-dirs.dirs, else the
// folder of that name in the home.
std::string UserDir(const std::string& name) {
  std::ifstream in(XdgDir("XDG_CONFIG_HOME", "/.config") + "/user-dirs.dirs");
  std::stringstream text;
  text << in.rdbuf();
  return XdgUserDir(text.str(), name, Home());
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

std::string XdgUserDir(const std::string& user_dirs, const std::string& name,
                       const std::string& home) {
  // Lines such as XDG_PICTURES_DIR="$HOME/Pictures": a path relative to the home or absolute;
  // anything else is not a valid entry and leaves the default.
  const std::string key = "XDG_" + name + "_DIR=";
  std::string found;
  std::size_t start = 0;
  while (start < user_dirs.size()) {
    std::size_t end = user_dirs.find('\n', start);
    if (end == std::string::npos) end = user_dirs.size();
    std::string line = user_dirs.substr(start, end - start);
    start = end + 1;
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line.compare(first, key.size(), key) != 0) continue;
    std::string value = line.substr(first + key.size());
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r'))
      value.pop_back();
    if (value.size() < 2 || value.front() != '"' || value.back() != '"') continue;
    value = value.substr(1, value.size() - 2);
    std::string path;
    for (std::size_t i = 0; i < value.size(); ++i) {
      if (value[i] == '\\' && i + 1 < value.size()) ++i;  // an escaped character stands for itself
      path += value[i];
    }
    if (path.rfind("$HOME", 0) == 0 && (path.size() == 5 || path[5] == '/')) {
      found = home + path.substr(5);
    } else if (!path.empty() && path.front() == '/') {
      found = path;
    }
  }
  if (found.empty()) return home.empty() ? "" : home + "/" + Capitalised(name);
  while (found.size() > 1 && found.back() == '/') found.pop_back();
  return found;
}

std::string LinuxKnownPaths::PicturesDirectory() { return UserDir("PICTURES"); }

std::string LinuxKnownPaths::MusicDirectory() { return UserDir("MUSIC"); }

std::string LinuxKnownPaths::FailureLogPath() {
  const std::string dir = XdgDir("XDG_STATE_HOME", "/.local/state") + "/Trelvin";
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  return dir + "/trelvin.log";
}

std::string LinuxKnownPaths::WallpaperBitmapPath() {
  const std::string dir = XdgDir("XDG_DATA_HOME", "/.local/share") + "/Trelvin";
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  return dir + "/wallpaper.bmp";
}

}  // namespace trelvin
