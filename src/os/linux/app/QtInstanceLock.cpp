#include "os/linux/app/QtInstanceLock.h"

#include <unistd.h>

#include <cstdlib>

#include <QDir>

namespace trelvin {

bool QtInstanceLock::AnotherInstanceRunning() {
  if (lock_) return false;
  const char* runtime_dir = std::getenv("XDG_RUNTIME_DIR");
  // One name for every copy of the program, wherever its executable lies: an installed and a
  // portable copy share the user's settings, so only one of them may run. The runtime directory
  // is the user's own; the shared temporary directory is everybody's, so there the user's id is
  // part of the name, and another user's running program does not count.
  const QString name =
      runtime_dir && *runtime_dir == '/'
          ? QString(runtime_dir) + "/trelvinshow.lock"
          : QDir::tempPath() + "/trelvinshow-" + QString::number(::getuid()) + ".lock";
  auto lock = std::make_unique<QLockFile>(name);
  // Only a dead owner makes a lock stale, never its age.
  lock->setStaleLockTime(0);
  if (lock->tryLock(0)) {
    lock_ = std::move(lock);
    return false;
  }
  return lock->error() == QLockFile::LockFailedError;
}

bool NoInstanceLock::AnotherInstanceRunning() { return false; }

}  // namespace trelvin
