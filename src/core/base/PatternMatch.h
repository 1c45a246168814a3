#pragma once

#include <string_view>

namespace trelvin {

// Whether `name` matches the wildcard `pattern` ("*" any run of characters, "?" any one
// character), ignoring the case of ASCII letters, as the directory search matches names.
bool MatchesPattern(std::string_view name, std::string_view pattern);

}  // namespace trelvin
