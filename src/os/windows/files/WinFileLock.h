#pragma once

#include <map>
#include <mutex>
#include <string>

#include "core/services/FileLock.h"

namespace trelvin {

// LockFileEx on the named file's first byte. The lock belongs to the open handle, so a second
// WinFileLock in the same process is refused as another process would be; the system lets go
// when the holder dies.
class WinFileLock : public FileLock {
 public:
  ~WinFileLock() override;
  bool Lock(const std::string& path) override;
  void Unlock(const std::string& path) override;

 private:
  std::mutex mutex_;
  std::map<std::string, void*> held_;  // path -> its open handle
};

}  // namespace trelvin
