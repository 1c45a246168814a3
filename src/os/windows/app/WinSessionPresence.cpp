#include "os/windows/app/WinSessionPresence.h"

#include "os/windows/WinApi.h"

#include <wtsapi32.h>

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
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = SessionWindowProc;
  window_class.hInstance = instance;
  window_class.lpszClassName = kWindowClass;
  RegisterClassW(&window_class);  // a second registration fails harmlessly
  // A top-level window that is never shown: session notices are not sent to message-only ones.
  HWND window = CreateWindowExW(0, kWindowClass, L"Trelvin Show", WS_OVERLAPPED, 0, 0, 0, 0,
                                nullptr, nullptr, instance, nullptr);
  if (!window) return;
  window_ = window;
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
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
