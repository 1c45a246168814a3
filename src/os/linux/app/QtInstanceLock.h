#pragma once

#include <memory>

#include <QLockFile>

#include "core/services/InstanceLock.h"

namespace trelvin {

// A lock file in $XDG_RUNTIME_DIR (or the temporary directory) keyed by the executable's path and
// held for the process's life. A lock left by a process that no longer runs does not count.
class QtInstanceLock : public InstanceLock {
 public:
  bool AnotherInstanceRunning() override;

 private:
  std::unique_ptr<QLockFile> lock_;
};

}  // namespace trelvin
