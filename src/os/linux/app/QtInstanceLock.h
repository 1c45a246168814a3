#pragma once

#include <memory>
#include <string>

#include <QLockFile>

#include "core/services/InstanceLock.h"

namespace trelvin {

// One lock file per user, whatever the executable's name or path, held for the process's life. A
// lock left by a process that no longer runs does not count.
class QtInstanceLock : public InstanceLock {
 public:
  bool AnotherInstanceRunning() override;

  // Where the lock file lies: $XDG_RUNTIME_DIR, else Trelvin in the user's state directory (made
  // when missing), whichever is a directory the user owns and nobody else may write into; empty
  // when neither is.
  static std::string LockDirectory();

 private:
  std::unique_ptr<QLockFile> lock_;
};

// The screen-saver module's test: a daemon starts one module per monitor, also while the program
// runs in the settings window, and each must show the show. A module writes nothing, so it
// needs no lock.
class NoInstanceLock : public InstanceLock {
 public:
  bool AnotherInstanceRunning() override;
};

}  // namespace trelvin
