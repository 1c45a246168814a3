// Directory names are arbitrary bytes; patterns too, in principle.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/base/PatternMatch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view all(reinterpret_cast<const char*>(data), size);
  const std::size_t split = all.find('\0');
  const std::string_view pattern = all.substr(0, split);
  const std::string_view name = split == std::string_view::npos ? "" : all.substr(split + 1);
  const bool matches = trelvin::MatchesPattern(name, pattern);
  // A name always matches itself as a pattern when it has no wildcards, and "*" matches anything.
  if (name.find_first_of("*?") == std::string_view::npos && !trelvin::MatchesPattern(name, name)) {
    std::abort();
  }
  if (!trelvin::MatchesPattern(name, "*")) std::abort();
  (void)matches;
  return 0;
}
