#include "os/windows/app/WinInstanceLock.h"

#include "os/windows/WinApi.h"

#include <cstdint>
#include <cwchar>

#include "os/windows/app/WinPaths.h"

namespace trelvin {

WinInstanceLock::WinInstanceLock() : WinInstanceLock(ExecutablePath()) {}

WinInstanceLock::WinInstanceLock(std::wstring executable_path)
    : executable_path_(std::move(executable_path)) {}

WinInstanceLock::~WinInstanceLock() {
  if (mutex_) CloseHandle(mutex_);
}

std::wstring WinInstanceLock::MutexNameFor(const std::wstring& executable_path) {
  std::wstring folded = executable_path;
  if (!folded.empty()) {
    LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, executable_path.c_str(),
                  static_cast<int>(executable_path.size()), folded.data(),
                  static_cast<int>(folded.size()), nullptr, nullptr, 0);
  }
  // A name holds no "\" after the namespace and has a length limit: use a 64-bit FNV-1a hash.
  std::uint64_t hash = 14695981039346656037ull;
  for (wchar_t c : folded) {
    hash ^= static_cast<std::uint16_t>(c);
    hash *= 1099511628211ull;
  }
  wchar_t name[64];
  std::swprintf(name, 64, L"Local\\TrelvinShow-%016llx", static_cast<unsigned long long>(hash));
  return name;
}

bool WinInstanceLock::AnotherInstanceRunning() {
  if (mutex_) return false;
  HANDLE mutex = CreateMutexW(nullptr, FALSE, MutexNameFor(executable_path_).c_str());
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
