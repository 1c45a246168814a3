#include "os/windows/app/WinInstanceLock.h"

#include "os/windows/WinApi.h"

#include <sddl.h>

#include <cstdint>
#include <vector>

namespace trelvin {

namespace {

// The current user's SID as text ("S-1-5-21-..."), or empty text.
std::wstring UserSid() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  DWORD bytes = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &bytes);
  std::vector<std::uint8_t> buffer(bytes);
  std::wstring text;
  wchar_t* sid = nullptr;
  if (bytes > 0 && GetTokenInformation(token, TokenUser, buffer.data(), bytes, &bytes) &&
      ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &sid)) {
    text = sid;
    LocalFree(sid);
  }
  CloseHandle(token);
  return text;
}

}  // namespace

WinInstanceLock::WinInstanceLock() : WinInstanceLock(MutexNameForUser()) {}

WinInstanceLock::WinInstanceLock(std::wstring mutex_name) : mutex_name_(std::move(mutex_name)) {}

WinInstanceLock::~WinInstanceLock() {
  if (mutex_) CloseHandle(mutex_);
}

std::wstring WinInstanceLock::MutexNameForUser() {
  // A SID holds no "\", which would reach out of the namespace.
  const std::wstring sid = UserSid();
  return sid.empty() ? L"Local\\TrelvinShow" : L"Local\\TrelvinShow-" + sid;
}

bool WinInstanceLock::AnotherInstanceRunning() {
  if (mutex_) return false;
  HANDLE mutex = CreateMutexW(nullptr, FALSE, mutex_name_.c_str());
  // A mutex that exists but may not be opened belongs to a running instance too; any other
  // failure leaves the test unanswered, and running is better than refusing to start.
  if (!mutex) return GetLastError() == ERROR_ACCESS_DENIED;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return true;
  }
  mutex_ = mutex;
  return false;
}

}  // namespace trelvin
