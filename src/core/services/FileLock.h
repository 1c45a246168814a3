#pragma once

#include <string>

namespace trelvin {

// Locks that every process of the user shares, each named by a file's path: what one process
// holds, no other (nor another object in the same process) can hold till it lets go.
class FileLock {
 public:
  virtual ~FileLock() = default;
  // Holds the lock named by `path` (the file is made when missing), waiting at most a few seconds
  // for another holder; false when it could not be had.
  virtual bool Lock(const std::string& path) = 0;
  // Lets go of a lock that Lock(`path`) gave; nothing for a lock not held.
  virtual void Unlock(const std::string& path) = 0;
};

}  // namespace trelvin
