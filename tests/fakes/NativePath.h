#pragma once

#include <algorithm>
#include <string>
#include <string_view>

#include "core/base/PathRules.h"

namespace trelvin {

// A path written with "/" in a test, with the separator of the build the test runs in: the forms
// join paths with the platform's separator, so the same test holds on Linux and on Windows.
inline std::string NativePath(std::string_view path) {
  std::string native(path);
  std::replace(native.begin(), native.end(), '/', kPathSeparator);
  return native;
}

}  // namespace trelvin
