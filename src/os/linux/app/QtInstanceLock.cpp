#include "os/linux/app/QtInstanceLock.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/base/Guard.h"

namespace trelvin {

namespace {

// A directory that only this user can put a file into: the user's own (not a link to one), and
// no one else may write into it.
bool Private(const std::string& directory) {
  struct stat st {};
  return ::lstat(directory.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
         (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value && *value == '/' ? value : "";
}

}  // namespace

std::string QtInstanceLock::LockDirectory() {
  // The runtime directory is the user's own, unless it was set to a shared one.
  if (const std::string runtime = Variable("XDG_RUNTIME_DIR"); Private(runtime)) return runtime;
  // Else the user's state directory, where the failure log is. Never the shared temporary
  // directory: there another user could make the lock file first and keep the program from
  // ever starting.
  std::string state = Variable("XDG_STATE_HOME");
  if (state.empty() && !Variable("HOME").empty()) state = Variable("HOME") + "/.local/state";
  if (state.empty()) return "";
  const std::string directory = state + "/Trelvin";
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  return Private(directory) ? directory : "";
}

bool QtInstanceLock::AnotherInstanceRunning() {
  if (lock_) return false;
  // One name for every copy of the program, wherever its executable lies: an installed and a
  // portable copy share the user's settings, so only one of them may run.
  const std::string directory = LockDirectory();
  // Without a directory of the user's own the test cannot be made; running is better than
  // refusing to start.
  if (!Step([&] { Require(!directory.empty(), "no private directory for the instance lock"); })) {
    return false;
  }
  auto lock = std::make_unique<QLockFile>(QString::fromStdString(directory + "/trelvinshow.lock"));
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
