#include "core/base/Guard.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace trelvin {

namespace {

std::atomic<FailureSink*> failure_sink{nullptr};

// The part of a source path from its "src" folder on: the build machine's own folders say
// nothing to a user reading the log.
const char* SourceName(const char* file) {
  const char* best = file;
  for (const char* p = file; *p; ++p) {
    if ((p == file || p[-1] == '/' || p[-1] == '\\') && std::strncmp(p, "src", 3) == 0 &&
        (p[3] == '/' || p[3] == '\\')) {
      best = p + 4;
    }
  }
  return best;
}

}  // namespace

void SetFailureSink(FailureSink* sink) noexcept { failure_sink.store(sink); }

bool StepTraceEnabled() noexcept {
  // Read on the first failure only; a run without failures never looks.
  static const bool enabled = [] {
    const char* value = std::getenv("TRELVIN_TRACE");
    return value != nullptr && std::strcmp(value, "1") == 0;
  }();
  return enabled;
}

void TraceSwallowedFailure(const std::source_location& where, const char* what) noexcept {
  FailureSink* sink = failure_sink.load();
  if (sink == nullptr && !StepTraceEnabled()) return;
  what = what ? what : "step failed";
  const unsigned line_number = static_cast<unsigned>(where.line());
  // One write per line, so lines of steps failing on different threads do not interleave.
  char line[1024];
  if (StepTraceEnabled()) {
    std::snprintf(line, sizeof line, "%s:%u: %s\n", where.file_name(), line_number, what);
    std::fputs(line, stderr);
  }
  if (sink) {
    std::snprintf(line, sizeof line, "%s:%u: %s", SourceName(where.file_name()), line_number, what);
    sink->Write(line);
  }
}

}  // namespace trelvin
