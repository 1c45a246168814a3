#include "os/windows/app/WinSessionPresence.h"

#include "os/windows/WinApi.h"

#include <wtsapi32.h>

#include "os/windows/WinHiddenWindow.h"

namespace trelvin {

namespace {

constexpr wchar_t kWindowClass[] = L"TrelvinShowSession";

LRESULT CALLBACK SessionWindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_WTSSESSION_CHANGE) {
    auto* presence =
        reinterpret_cast<WinSessionPresence*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (presence) presence->SessionChanged(static_cast<unsigned>(w));
    return 0;
  }
  return DefWindowProcW(window, message, w, l);
}

}  // namespace

WinSessionPresence::WinSessionPresence() {
  // A top-level window that is never shown: session notices are not sent to message-only ones.
  HWND window = MakeHiddenWindow(kWindowClass, SessionWindowProc, L"Trelvin Show", this);
  if (!window) return;
  window_ = window;
  registered_ = WTSRegisterSessionNotification(window, NOTIFY_FOR_THIS_SESSION) != FALSE;
}

WinSessionPresence::~WinSessionPresence() {
  HWND window = static_cast<HWND>(window_);
  if (!window) return;
  if (registered_) WTSUnRegisterSessionNotification(window);
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  DestroyWindow(window);
}

void WinSessionPresence::SessionChanged(unsigned event) {
  switch (event) {
    case WTS_SESSION_LOCK:
      locked_ = true;
      break;
    case WTS_SESSION_UNLOCK:
      locked_ = false;
      break;
    case WTS_CONSOLE_DISCONNECT:
    case WTS_REMOTE_DISCONNECT:
      disconnected_ = true;
      break;
    case WTS_CONSOLE_CONNECT:
    case WTS_REMOTE_CONNECT:
      disconnected_ = false;
      break;
    default:
      break;
  }
}

}  // namespace trelvin
