#include "core/base/Guard.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace trelvin {

bool StepTraceEnabled() noexcept {
  // Read on the first failure only; a run without failures never looks.
  static const bool enabled = [] {
    const char* value = std::getenv("TRELVIN_TRACE");
    return value != nullptr && std::strcmp(value, "1") == 0;
  }();
  return enabled;
}

void TraceSwallowedFailure(const std::source_location& where, const char* what) noexcept {
  // One write per line, so lines of steps failing on different threads do not interleave.
  char line[1024];
  std::snprintf(line, sizeof line, "%s:%u: %s\n", where.file_name(),
                static_cast<unsigned>(where.line()), what ? what : "step failed");
  std::fputs(line, stderr);
}

}  // namespace trelvin
