#pragma once

#include <string>

#include "core/services/InstanceLock.h"

namespace trelvin {

// The previous-instance test: one named mutex per user in the session's namespace, held for the
// process's life. The name never depends on the executable: the .exe, its .scr copy, an installed
// and a portable copy are one program writing one set of settings.
class WinInstanceLock : public InstanceLock {
 public:
  WinInstanceLock();  // the program's lock for the current user
  explicit WinInstanceLock(std::wstring mutex_name);
  ~WinInstanceLock() override;
  WinInstanceLock(const WinInstanceLock&) = delete;
  WinInstanceLock& operator=(const WinInstanceLock&) = delete;

  bool AnotherInstanceRunning() override;

  // "Local\TrelvinShow-" and the current user's SID; without the SID, one lock for the session.
  static std::wstring MutexNameForUser();

 private:
  std::wstring mutex_name_;
  void* mutex_ = nullptr;
};

}  // namespace trelvin
