#include "os/windows/app/WinInstanceLock.h"

#include "os/windows/WinApi.h"

#include <aclapi.h>
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
  // The mutex is owned by the user and open to the user alone, elevated or not, so another user
  // in the session cannot open it, nor have made the one this user's instances make.
  const std::wstring sid = UserSid();
  const std::wstring rules = L"O:" + sid + L"D:P(A;;GA;;;" + sid + L")";
  SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, FALSE};
  if (sid.empty() ||
      !ConvertStringSecurityDescriptorToSecurityDescriptorW(
          rules.c_str(), SDDL_REVISION_1, &attributes.lpSecurityDescriptor, nullptr)) {
    attributes.lpSecurityDescriptor = nullptr;
  }
  HANDLE mutex = CreateMutexW(&attributes, FALSE, mutex_name_.c_str());
  const DWORD error = GetLastError();
  if (attributes.lpSecurityDescriptor) LocalFree(attributes.lpSecurityDescriptor);
  // A mutex this user may not open, or one another user owns, was made by someone else to keep
  // the program from starting: it does not count. Running without the test is better than
  // refusing to start.
  if (!mutex) return false;
  if (error == ERROR_ALREADY_EXISTS) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    LPWSTR owner_text = nullptr;
    const bool ours = GetSecurityInfo(mutex, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                                      nullptr, nullptr, nullptr, &descriptor) == ERROR_SUCCESS &&
                      ConvertSidToStringSidW(owner, &owner_text) && sid == owner_text;
    if (owner_text) LocalFree(owner_text);
    if (descriptor) LocalFree(descriptor);
    CloseHandle(mutex);
    return ours;
  }
  mutex_ = mutex;
  return false;
}

}  // namespace trelvin
