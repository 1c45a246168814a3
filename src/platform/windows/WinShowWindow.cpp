#include "platform/windows/WinShowWindow.h"

#include <utility>

#include "platform/windows/WinShowPainter.h"

namespace trelvin {

namespace {

constexpr wchar_t kClassName[] = L"TrelvinShowWindow";

ATOM RegisterShowClass(WNDPROC proc) {
  static const ATOM atom = [proc] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    // No background brush: the window paints every pixel itself.
    return RegisterClassExW(&wc);
  }();
  return atom;
}

}  // namespace

WinShowWindow::WinShowWindow(Rgb background) : background_(background) {}

WinShowWindow::~WinShowWindow() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

bool WinShowWindow::Open(const wchar_t* title) {
  if (hwnd_) return true;
  if (!RegisterShowClass(&WinShowWindow::Proc)) return false;
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  hwnd_ = CreateWindowExW(WS_EX_TOPMOST, kClassName, title, WS_POPUP, 0, 0, width, height, nullptr,
                          nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) return false;
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  SetFocus(hwnd_);
  UpdateWindow(hwnd_);
  return true;
}

void WinShowWindow::SetPicture(std::shared_ptr<const Picture> picture, Rect place) {
  picture_ = std::move(picture);
  place_ = place;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

VirtualKey WinShowWindow::KeyOf(WPARAM wparam) {
  return wparam > 0 && wparam < 0xFF ? static_cast<VirtualKey>(wparam) : kVkNone;
}

std::int16_t WinShowWindow::ShiftState() {
  std::int16_t shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= 1;
  if (GetKeyState(VK_CONTROL) < 0) shift |= 2;
  if (GetKeyState(VK_MENU) < 0) shift |= 4;
  return shift;
}

LRESULT CALLBACK WinShowWindow::Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    auto* creating = static_cast<WinShowWindow*>(create->lpCreateParams);
    creating->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creating));
  }
  auto* self = reinterpret_cast<WinShowWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    self->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }
  return self->Handle(message, wparam, lparam);
}

LRESULT WinShowWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // painted with the picture, never first in the background colour
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      RECT client;
      GetClientRect(hwnd_, &client);
      PaintShow(dc, client, dynamic_cast<const WicPicture*>(picture_.get()), place_, background_);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (on_key_down) on_key_down(KeyOf(wparam), ShiftState());
      return 0;  // F10 and Alt never open a menu, Alt+F4 never closes behind the show's back
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
      if (on_mouse_down) on_mouse_down();
      return 0;
    default:
      return DefWindowProcW(hwnd_, message, wparam, lparam);
  }
}

}  // namespace trelvin
