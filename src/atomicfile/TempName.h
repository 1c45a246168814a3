#pragma once

#include <string>
#include <string_view>

namespace trelvin {

// The name of a temporary file beside the target named `base`: `lead`, the start of `base`, ".",
// `unique` and `tail`. Of `base` at most kTempNameKeptBytes bytes are kept, cut between UTF-8
// characters: enough to tell whose temporary file it is, and short whatever the target's name,
// so a target whose name takes all the bytes a directory entry may hold still gets one.
inline constexpr std::size_t kTempNameKeptBytes = 32;

std::string TempName(std::string_view base, std::string_view lead, std::string_view unique,
                     std::string_view tail);

}  // namespace trelvin
