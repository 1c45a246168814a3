#pragma once

#include <string>
#include <string_view>

namespace trelvin {

// The platform's directory separator, chosen by the build ("/" on Linux, "\" on Windows), so the
// behaviour code never names one.
#ifndef TRELVIN_PATH_SEPARATOR
#error "the build defines TRELVIN_PATH_SEPARATOR"
#endif
inline constexpr char kPathSeparator = static_cast<char>(TRELVIN_PATH_SEPARATOR);

// True when `path` is non-empty and ends with `separator`.
inline bool EndsWithSeparator(std::string_view path, char separator = kPathSeparator) {
  return !path.empty() && path.back() == separator;
}

// Appends `separator` unless `path` already ends with one; an empty path becomes the root
// (a drive root such as "C:\" stays as it is).
inline void EnsureTrailingSeparator(std::string& path, char separator = kPathSeparator) {
  if (!EndsWithSeparator(path, separator)) path += separator;
}

// `path` with a trailing separator, by the rule above.
inline std::string WithTrailingSeparator(std::string path, char separator = kPathSeparator) {
  EnsureTrailingSeparator(path, separator);
  return path;
}

// `directory` with a trailing separator, then `name`: the plain concatenation directories and
// file names are joined by.
inline std::string JoinPath(std::string directory, std::string_view name,
                            char separator = kPathSeparator) {
  EnsureTrailingSeparator(directory, separator);
  directory += name;
  return directory;
}

}  // namespace trelvin
