#include "os/windows/app/WinScreenSaverLock.h"

#include "os/windows/WinApi.h"

#include <cstring>
#include <optional>

namespace trelvin {

namespace {

// The value as the system reads it: text "1" (or the number 1) is on, anything else off; nothing
// when the value is not there. A value that is there but cannot be read counts as on, so a doubt
// never lets a stranger at the user's files.
std::optional<bool> ReadSecure(const std::wstring& key) {
  wchar_t text[16] = {};
  DWORD bytes = sizeof text - sizeof(wchar_t);
  DWORD type = 0;
  const LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, key.c_str(), L"ScreenSaverIsSecure",
                                      RRF_RT_REG_SZ | RRF_RT_REG_DWORD, &type, text, &bytes);
  if (status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND) return std::nullopt;
  if (status != ERROR_SUCCESS) return true;
  if (type == REG_DWORD) {
    DWORD number = 0;
    std::memcpy(&number, text, sizeof number);
    return number != 0;
  }
  return std::wstring(text) == L"1";
}

}  // namespace

WinScreenSaverLock::WinScreenSaverLock(std::wstring policy_key, std::wstring user_key)
    : policy_key_(std::move(policy_key)), user_key_(std::move(user_key)) {}

bool WinScreenSaverLock::PasswordOnResume() {
  if (std::optional<bool> policy = ReadSecure(policy_key_)) return *policy;
  return ReadSecure(user_key_).value_or(false);
}

}  // namespace trelvin
