#include "os/windows/files/WinFileLock.h"

#include "os/windows/WinApi.h"

#include "os/windows/WinText.h"

namespace trelvin {

namespace {

// Holders keep the lock for a rename; a holder that takes longer is stuck, and the caller would
// rather go without than wait for it.
constexpr DWORD kWaitAtMostMs = 2000;
constexpr DWORD kRetryAfterMs = 5;

}  // namespace

WinFileLock::~WinFileLock() {
  for (const auto& [path, handle] : held_) CloseHandle(handle);
}

bool WinFileLock::Lock(const std::string& path) {
  const std::lock_guard<std::mutex> guard(mutex_);
  if (path.empty() || held_.count(path)) return false;
  HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const ULONGLONG give_up = GetTickCount64() + kWaitAtMostMs;
  for (;;) {
    OVERLAPPED at{};
    if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) break;
    if (GetTickCount64() > give_up) {
      CloseHandle(file);
      return false;
    }
    Sleep(kRetryAfterMs);
  }
  held_[path] = file;
  return true;
}

void WinFileLock::Unlock(const std::string& path) {
  const std::lock_guard<std::mutex> guard(mutex_);
  const auto it = held_.find(path);
  if (it == held_.end()) return;
  CloseHandle(it->second);  // closing the handle releases its lock
  held_.erase(it);
}

}  // namespace trelvin
