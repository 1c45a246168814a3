#include "core/services/FailureLog.h"

#include <cstdio>
#include <optional>
#include <utility>

namespace trelvin {

namespace {

// Set while this thread writes the log: a failure inside the writing itself is not logged again,
// which would only recurse (and the lock is already held).
thread_local bool writing = false;

}  // namespace

FailureLog::FailureLog(FileSystem& files, Clock& clock, FileLock& lock, std::string path,
                       std::int64_t limit)
    : files_(files), clock_(clock), lock_(lock), path_(std::move(path)), limit_(limit) {}

bool FailureLog::MakeRoom(std::int64_t bytes) {
  auto fits = [&] {
    const std::optional<std::int64_t> size = files_.FileLength(path_);
    return !size || *size + bytes <= limit_;
  };
  if (fits()) return true;
  const std::string lock_path = path_ + ".lock";
  if (!lock_.Lock(lock_path)) return false;
  struct Held {
    FileLock& lock;
    const std::string& path;
    ~Held() { lock.Unlock(path); }
  } held{lock_, lock_path};
  // Another process may have moved the log aside while this one waited for the lock.
  return fits() || files_.RenameFile(path_, path_ + ".1");
}

void FailureLog::Write(const char* line) noexcept {
  if (path_.empty() || writing) return;
  writing = true;
  try {
    const std::lock_guard<std::mutex> lock(mutex_);
    const LocalDateTime t = clock_.Now();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d ", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    const std::string text = stamp + std::string(line) + "\n";
    if (MakeRoom(static_cast<std::int64_t>(text.size()))) files_.AppendToFile(path_, text);
  } catch (...) {
    // The log is a help, never a reason for the program to stop.
  }
  writing = false;
}

}  // namespace trelvin
