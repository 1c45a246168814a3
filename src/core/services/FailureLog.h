#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "core/base/Guard.h"
#include "core/services/Clock.h"
#include "core/services/FileLock.h"
#include "core/services/FileSystem.h"

namespace trelvin {

// The user's log of failures the program passed over: one line each, with the local time. The
// file is kept below a size limit by moving it aside once (path + ".1", replacing the older
// generation) before a line would take it past the limit, so the log never grows without end.
// Several processes write it (screen-saver modules beside the settings window): the move happens
// under the lock path + ".lock" and only when the log is still too long once the lock is held, so
// two of them never move it twice and lose the older half. A line that would need a move that
// fails is dropped: the log stops growing rather than pass its limit.
class FailureLog : public FailureSink {
 public:
  static constexpr std::int64_t kDefaultLimit = 1024 * 1024;

  // An empty `path` keeps nothing.
  FailureLog(FileSystem& files, Clock& clock, FileLock& lock, std::string path,
             std::int64_t limit = kDefaultLimit);

  // "yyyy-mm-dd hh:mm:ss " + `line`, at the end of the log.
  void Write(const char* line) noexcept override;
  const std::string& Path() const { return path_; }

 private:
  // Makes room for `bytes` more; false when the log is full and could not be moved aside.
  bool MakeRoom(std::int64_t bytes);

  FileSystem& files_;
  Clock& clock_;
  FileLock& lock_;
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
