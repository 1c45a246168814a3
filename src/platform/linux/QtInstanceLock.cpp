#include "platform/linux/QtInstanceLock.h"

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
  const QString dir = runtime_dir && *runtime_dir == '/' ? QString(runtime_dir) : QDir::tempPath();
  auto lock =
      std::make_unique<QLockFile>(dir + "/trelvinshow-" + QString::fromLatin1(key) + ".lock");
  // Only a dead owner makes a lock stale, never its age.
  lock->setStaleLockTime(0);
  if (lock->tryLock(0)) {
    lock_ = std::move(lock);
    return false;
  }
  return lock->error() == QLockFile::LockFailedError;
}

}  // namespace trelvin
