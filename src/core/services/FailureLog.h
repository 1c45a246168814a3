#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "core/base/Guard.h"
#include "core/services/Clock.h"
#include "core/services/FileSystem.h"

namespace trelvin {

// The user's log of failures the program passed over: one line each, with the local time. The
// file is kept below a size limit by moving it aside once (path + ".1", replacing the older
// generation) before a line would take it past the limit, so the log never grows without end.
class FailureLog : public FailureSink {
 public:
  static constexpr std::int64_t kDefaultLimit = 1024 * 1024;

  // An empty `path` keeps nothing.
  FailureLog(FileSystem& files, Clock& clock, std::string path, std::int64_t limit = kDefaultLimit);

  // "yyyy-mm-dd hh:mm:ss " + `line`, at the end of the log.
  void Write(const char* line) noexcept override;
  const std::string& Path() const { return path_; }

 private:
  FileSystem& files_;
  Clock& clock_;
  std::string path_;
  std::int64_t limit_;
  std::mutex mutex_;
};

// Installs a sink for its own lifetime (SetFailureSink), so no step writes to a sink that is gone.
class ScopedFailureSink {
 public:
  explicit ScopedFailureSink(FailureSink& sink) { SetFailureSink(&sink); }
  ~ScopedFailureSink() { SetFailureSink(nullptr); }
  ScopedFailureSink(const ScopedFailureSink&) = delete;
  ScopedFailureSink& operator=(const ScopedFailureSink&) = delete;
};

}  // namespace trelvin
