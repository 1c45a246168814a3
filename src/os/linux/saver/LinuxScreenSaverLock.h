#pragma once

#include "core/services/ScreenSaverLock.h"

namespace trelvin {

// On Linux the show never runs with a locked desktop behind it and the keyboard in a stranger's
// reach: as a screen-saver module the daemon (xscreensaver, the desktop's locker) keeps the
// keyboard grabbed and asks for the password itself, so no key reaches the show, and "/s" started
// by hand runs in the user's own unlocked session.
class LinuxScreenSaverLock : public ScreenSaverLock {
 public:
  bool PasswordOnResume() override;
};

}  // namespace trelvin
