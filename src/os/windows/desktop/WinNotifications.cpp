#include "os/windows/desktop/WinNotifications.h"

#include "os/windows/WinApi.h"

#include <algorithm>
#include <string>

#include "os/windows/WinHiddenWindow.h"
#include "os/windows/WinText.h"

namespace trelvin {

namespace {

constexpr wchar_t kWindowClass[] = L"TrelvinShowNotifications";
constexpr UINT kIconId = 1;
constexpr UINT kIconMessage = WM_APP + 42;

LRESULT CALLBACK IconProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kIconMessage && LOWORD(lparam) == NIN_BALLOONUSERCLICK) {
    auto* self = reinterpret_cast<WinNotifications*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self) self->Clicked();
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

// Copies as much of `text` as fits, always terminated.
template <std::size_t N>
void CopyInto(wchar_t (&field)[N], const std::wstring& text) {
  const std::size_t n = std::min(text.size(), N - 1);
  std::copy_n(text.data(), n, field);
  field[n] = L'\0';
}

NOTIFYICONDATAW IconData(HWND window) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uID = kIconId;
  return data;
}

}  // namespace

WinNotifications::~WinNotifications() {
  HWND window = static_cast<HWND>(window_);
  if (icon_added_) {
    NOTIFYICONDATAW data = IconData(window);
    Shell_NotifyIconW(NIM_DELETE, &data);
  }
  if (window) DestroyWindow(window);
}

bool WinNotifications::AddIcon() {
  if (icon_added_) return true;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!window_) window_ = MakeHiddenWindow(kWindowClass, IconProc, L"Trelvin Show", this);
  if (!window_) return false;
  NOTIFYICONDATAW data = IconData(static_cast<HWND>(window_));
  data.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
  data.uCallbackMessage = kIconMessage;
  data.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  if (!data.hIcon) data.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  CopyInto(data.szTip, L"Trelvin Show");
  icon_added_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
  return icon_added_;
}

bool WinNotifications::Notify(const std::string& summary, const std::string& body) {
  on_click_ = nullptr;
  // While a capture runs its icon tells its notices, so there is one icon.
  if (capture_icon_ && capture_icon_->Balloon(summary, body)) return true;
  return ShowBalloon(summary, body, NIIF_WARNING);
}

bool WinNotifications::NotifyWithAction(const std::string& summary, const std::string& body,
                                        const std::string& action,
                                        std::function<void()> on_action) {
  // The balloon says what a click does.
  const std::string text = body.empty() ? "Click here: " + action : body + " Click here: " + action;
  if (!ShowBalloon(summary, text, NIIF_INFO)) return false;
  on_click_ = std::move(on_action);
  return true;
}

void WinNotifications::Clicked() {
  std::function<void()> action = std::move(on_click_);
  on_click_ = nullptr;
  if (action) action();
}

bool WinNotifications::ShowBalloon(const std::string& summary, const std::string& body,
                                   unsigned long flags) {
  if (!AddIcon()) return false;
  NOTIFYICONDATAW data = IconData(static_cast<HWND>(window_));
  data.uFlags = NIF_INFO;
  data.dwInfoFlags = flags;
  CopyInto(data.szInfoTitle, Widen(summary));
  CopyInto(data.szInfo, Widen(body));
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

}  // namespace trelvin
