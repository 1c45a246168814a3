#include "os/windows/desktop/WinTrayIcon.h"

#include "os/windows/WinApi.h"

#include <algorithm>
#include <string>

#include "os/windows/WinHiddenWindow.h"
#include "os/windows/WinText.h"

namespace trelvin {

namespace {

constexpr wchar_t kWindowClass[] = L"TrelvinShowCaptureIcon";
constexpr UINT kIconId = 2;  // the notices' icon is 1

LRESULT CALLBACK IconWindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  auto* icon = reinterpret_cast<WinTrayIcon*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (icon && icon->HandleMessage(message, w, l)) return 0;
  return DefWindowProcW(window, message, w, l);
}

}  // namespace

WinTrayIcon::~WinTrayIcon() {
  Hide();
  HWND window = static_cast<HWND>(window_);
  if (!window) return;
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  DestroyWindow(window);
}

bool WinTrayIcon::MakeWindow() {
  if (window_) return true;
  window_ = MakeHiddenWindow(kWindowClass, IconWindowProc, L"Trelvin Show", this);
  return window_ != nullptr;
}

bool WinTrayIcon::Show(const TrayIconState& state) {
  if (!MakeWindow()) return false;
  state_ = state;
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = static_cast<HWND>(window_);
  data.uID = kIconId;
  data.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
  data.uCallbackMessage = kCallbackMessage;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  // Running: the program's icon; paused: the system's warning sign, so the two tell apart.
  data.hIcon =
      state.paused ? LoadIconW(nullptr, IDI_WARNING) : LoadIconW(instance, MAKEINTRESOURCEW(1));
  if (!data.hIcon) data.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  const std::wstring tip = Widen(state.tooltip);
  const std::size_t n = std::min(tip.size(), std::size(data.szTip) - 1);
  std::copy_n(tip.data(), n, data.szTip);
  data.szTip[n] = L'\0';
  if (added_) return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
  added_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
  return added_;
}

bool WinTrayIcon::Balloon(const std::string& summary, const std::string& body) {
  if (!added_) return false;
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = static_cast<HWND>(window_);
  data.uID = kIconId;
  data.uFlags = NIF_INFO;
  data.dwInfoFlags = NIIF_WARNING;
  const std::wstring title = Widen(summary).substr(0, std::size(data.szInfoTitle) - 1);
  const std::wstring text = Widen(body).substr(0, std::size(data.szInfo) - 1);
  std::copy(title.begin(), title.end(), data.szInfoTitle);
  std::copy(text.begin(), text.end(), data.szInfo);
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void WinTrayIcon::Hide() {
  if (!added_) return;
  added_ = false;
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = static_cast<HWND>(window_);
  data.uID = kIconId;
  Shell_NotifyIconW(NIM_DELETE, &data);
}

bool WinTrayIcon::HandleMessage(unsigned message, std::uintptr_t w, std::intptr_t l) {
  if (message == kCallbackMessage) {
    const UINT event = LOWORD(l);
    if (event == WM_LBUTTONUP || event == WM_RBUTTONUP || event == WM_CONTEXTMENU) OpenMenu();
    return true;
  }
  if (message == WM_COMMAND) {
    const unsigned id = LOWORD(w);
    if (id < kFirstCommand || id >= kFirstCommand + state_.menu.size()) return false;
    const TrayMenuItem& item = state_.menu[id - kFirstCommand];
    // A disabled item cannot be picked; a command sent anyway is refused the same way.
    if (item.enabled && on_command) on_command(item.command);
    return true;
  }
  return false;
}

// The menu is built from the state at the moment it opens; its pick arrives as WM_COMMAND
// after TrackPopupMenu returns, so a Stop that deletes the icon runs outside the menu's loop.
void WinTrayIcon::OpenMenu() {
  HMENU menu = CreatePopupMenu();
  if (!menu) return;
  for (std::size_t i = 0; i < state_.menu.size(); ++i) {
    const TrayMenuItem& item = state_.menu[i];
    UINT flags = MF_STRING;
    if (!item.enabled) flags |= MF_GRAYED;
    if (item.checkable && item.checked) flags |= MF_CHECKED;
    AppendMenuW(menu, flags, kFirstCommand + i, Widen(item.text).c_str());
  }
  HWND window = static_cast<HWND>(window_);
  POINT at{};
  GetCursorPos(&at);
  // Without the foreground, the menu would not close when the user clicks elsewhere.
  SetForegroundWindow(window);
  TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr);
  PostMessageW(window, WM_NULL, 0, 0);
  DestroyMenu(menu);
}

}  // namespace trelvin
