#include "os/linux/files/PosixFileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

namespace trelvin {

namespace {

// Holders keep the lock for a rename; a holder that takes longer is stuck, and the caller would
// rather go without than wait for it.
constexpr auto kWaitAtMost = std::chrono::seconds(2);
constexpr auto kRetryAfter = std::chrono::milliseconds(5);

}  // namespace

PosixFileLock::~PosixFileLock() {
  for (const auto& [path, fd] : held_) ::close(fd);
}

bool PosixFileLock::Lock(const std::string& path) {
  const std::lock_guard<std::mutex> guard(mutex_);
  if (held_.count(path)) return false;
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return false;
  const auto give_up = std::chrono::steady_clock::now() + kWaitAtMost;
  for (;;) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) break;
    if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() > give_up) {
      ::close(fd);
      return false;
    }
    std::this_thread::sleep_for(kRetryAfter);
  }
  held_[path] = fd;
  return true;
}

void PosixFileLock::Unlock(const std::string& path) {
  const std::lock_guard<std::mutex> guard(mutex_);
  const auto it = held_.find(path);
  if (it == held_.end()) return;
  ::close(it->second);  // closing the only descriptor releases the lock
  held_.erase(it);
}

}  // namespace trelvin
