#pragma once

#include <string>

#include "core/services/ScreenSaverLock.h"

namespace trelvin {

// "On resume, display logon screen": the value ScreenSaverIsSecure under the current user's
// desktop settings, where the group policy's value of the same name, when set, wins.
class WinScreenSaverLock : public ScreenSaverLock {
 public:
  // The keys under HKEY_CURRENT_USER to read, the policy's first; tests give keys of their own.
  explicit WinScreenSaverLock(
      std::wstring policy_key = L"Software\\Policies\\Microsoft\\Windows\\Control Panel\\Desktop",
      std::wstring user_key = L"Control Panel\\Desktop");

  bool PasswordOnResume() override;

 private:
  std::wstring policy_key_;
  std::wstring user_key_;
};

}  // namespace trelvin
