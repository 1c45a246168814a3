#include "os/windows/desktop/WinNotifications.h"

#include "os/windows/WinApi.h"

#include <algorithm>
#include <string>

#include "os/windows/WinText.h"

namespace trelvin {

namespace {

constexpr wchar_t kWindowClass[] = L"TrelvinShowNotifications";
constexpr UINT kIconId = 1;

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
  if (!window_) {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = DefWindowProcW;
    window_class.hInstance = instance;
    window_class.lpszClassName = kWindowClass;
    RegisterClassW(&window_class);  // a second registration fails harmlessly
    window_ = CreateWindowExW(0, kWindowClass, L"Trelvin Show", WS_OVERLAPPED, 0, 0, 0, 0, nullptr,
                              nullptr, instance, nullptr);
    if (!window_) return false;
  }
  NOTIFYICONDATAW data = IconData(static_cast<HWND>(window_));
  data.uFlags = NIF_ICON | NIF_TIP;
  data.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  if (!data.hIcon) data.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  CopyInto(data.szTip, L"Trelvin Show");
  icon_added_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
  return icon_added_;
}

bool WinNotifications::Notify(const std::string& summary, const std::string& body) {
  if (capture_icon_ && capture_icon_->Balloon(summary, body)) return true;
  if (!AddIcon()) return false;
  NOTIFYICONDATAW data = IconData(static_cast<HWND>(window_));
  data.uFlags = NIF_INFO;
  data.dwInfoFlags = NIIF_WARNING;
  CopyInto(data.szInfoTitle, Widen(summary));
  CopyInto(data.szInfo, Widen(body));
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

}  // namespace trelvin
