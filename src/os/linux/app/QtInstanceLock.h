#pragma once

#include <memory>

#include <QLockFile>

#include "core/services/InstanceLock.h"

namespace trelvin {

// One lock file per user in $XDG_RUNTIME_DIR (or the temporary directory), whatever the
// executable's name or path, held for the process's life. A lock left by a process that no
// longer runs does not count.
class QtInstanceLock : public InstanceLock {
 public:
  bool AnotherInstanceRunning() override;

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
