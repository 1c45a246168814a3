#pragma once

#include <map>
#include <mutex>
#include <string>

#include "core/services/FileLock.h"

namespace trelvin {

// flock(2) on the named file. The lock belongs to the open file, so a second PosixFileLock in the
// same process is refused as another process would be; the kernel lets go when the holder dies.
class PosixFileLock : public FileLock {
 public:
  ~PosixFileLock() override;
  bool Lock(const std::string& path) override;
  void Unlock(const std::string& path) override;

 private:
  std::mutex mutex_;
  std::map<std::string, int> held_;  // path -> its open file
};

}  // namespace trelvin
