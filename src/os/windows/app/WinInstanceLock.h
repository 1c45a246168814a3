#pragma once

#include <string>

#include "core/services/InstanceLock.h"

namespace trelvin {

// The previous-instance test: a named mutex in the session's namespace, its name derived from the
// executable's full path (case-folded, as the file system compares names), held for the
// process's life.
class WinInstanceLock : public InstanceLock {
 public:
  WinInstanceLock();  // for the running executable
  explicit WinInstanceLock(std::wstring executable_path);
  ~WinInstanceLock() override;
  WinInstanceLock(const WinInstanceLock&) = delete;
  WinInstanceLock& operator=(const WinInstanceLock&) = delete;

  bool AnotherInstanceRunning() override;

  // The mutex name for an executable path; equal for paths that differ only in case.
  static std::wstring MutexNameFor(const std::wstring& executable_path);

 private:
  std::wstring executable_path_;
  void* mutex_ = nullptr;
};

}  // namespace trelvin
