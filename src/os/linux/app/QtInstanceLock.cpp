#include "os/linux/app/QtInstanceLock.h"

#include <unistd.h>

#include <cstdlib>

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace trelvin {

bool QtInstanceLock::AnotherInstanceRunning() {
  if (lock_) return false;
  const QString exe = QFileInfo("/proc/self/exe").canonicalFilePath();
  const QByteArray key =
      QCryptographicHash::hash(exe.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
  const char* runtime_dir = std::getenv("XDG_RUNTIME_DIR");
  // The runtime directory is the user's own. The shared temporary directory is everybody's: there
  // the user's id is part of the name, so another user's running program does not count.
  const QString name =
      runtime_dir && *runtime_dir == '/'
          ? QString(runtime_dir) + "/trelvinshow-" + QString::fromLatin1(key) + ".lock"
          : QDir::tempPath() + "/trelvinshow-" + QString::number(::getuid()) + "-" +
                QString::fromLatin1(key) + ".lock";
  auto lock = std::make_unique<QLockFile>(name);
  // Only a dead owner makes a lock stale, never its age.
  lock->setStaleLockTime(0);
  if (lock->tryLock(0)) {
    lock_ = std::move(lock);
    return false;
  }
  return lock->error() == QLockFile::LockFailedError;
}

}  // namespace trelvin
