#include "os/windows/media/WinMediaControl.h"

// First: the other system headers build on it.
#include <windows.h>

#include <mmsystem.h>
// The service's method has the name of the system's macro.
#undef mciSendString

#include "os/windows/WinText.h"

namespace trelvin {

std::uint32_t WinMediaControl::mciSendString(const std::string& command, WindowHandle callback) {
  return mciSendString(command, nullptr, callback);
}

std::uint32_t WinMediaControl::mciSendString(const std::string& command, std::string* reply,
                                             WindowHandle callback) {
  // Replies are short: a mode, a length, a device id.
  wchar_t buffer[256] = {};
  HWND window = nullptr;
  if (callback != 0) {
    window =
        window_of_ ? static_cast<HWND>(window_of_(callback)) : reinterpret_cast<HWND>(callback);
  }
  const MCIERROR result =
      mciSendStringW(Widen(command).c_str(), buffer, static_cast<UINT>(std::size(buffer)), window);
  if (reply) *reply = result == 0 ? Narrow(buffer) : std::string();
  return static_cast<std::uint32_t>(result);
}

}  // namespace trelvin
