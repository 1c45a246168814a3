#include "os/linux/saver/LinuxScreenSaverLock.h"

namespace trelvin {

// No key of a locked desktop ever reaches the show (see the header).
bool LinuxScreenSaverLock::PasswordOnResume() { return false; }

}  // namespace trelvin
