#pragma once

namespace trelvin {

// Whether the user's screen saver locks the desktop behind it.
class ScreenSaverLock {
 public:
  virtual ~ScreenSaverLock() = default;
  // True when the system asks for the user's password once its screen saver ends (so whoever
  // presses keys while it runs may be a stranger); also true when that cannot be found out.
  virtual bool PasswordOnResume() = 0;
};

}  // namespace trelvin
