#include "os/windows/window/WinCoverWindows.h"

#include <utility>

namespace trelvin {

namespace {

constexpr wchar_t kClassName[] = L"TrelvinShowCover";
// Posted to the watcher: the monitors changed, follow them once the change is complete.
constexpr UINT kFollow = WM_APP + 21;

ATOM RegisterCoverClass(WNDPROC proc) {
  static const ATOM atom = [proc] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc);
  }();
  return atom;
}

BOOL CALLBACK AddOtherMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info) && !(info.dwFlags & MONITORINFOF_PRIMARY)) {
    reinterpret_cast<std::vector<RECT>*>(data)->push_back(info.rcMonitor);
  }
  return TRUE;
}

}  // namespace

std::vector<RECT> WinCoverWindows::OtherMonitors() {
  std::vector<RECT> others;
  EnumDisplayMonitors(nullptr, nullptr, AddOtherMonitor, reinterpret_cast<LPARAM>(&others));
  return others;
}

WinCoverWindows::WinCoverWindows(HWND shown, Rgb background, Monitors monitors)
    : shown_(shown),
      brush_(CreateSolidBrush(
          RGB((background >> 16) & 0xFF, (background >> 8) & 0xFF, background & 0xFF))),
      monitors_(std::move(monitors)) {
  if (!RegisterCoverClass(Proc)) return;
  // Unowned and hidden: the system tells every such top-level window of a display change.
  watcher_ = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                             nullptr, GetModuleHandleW(nullptr), this);
  Follow();
}

WinCoverWindows::~WinCoverWindows() {
  for (HWND cover : covers_) DestroyWindow(cover);
  if (watcher_) DestroyWindow(watcher_);
  DeleteObject(brush_);
}

HWND WinCoverWindows::Create(const RECT& area, DWORD style) {
  return CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kClassName,
                         L"TrelvinShow", style, area.left, area.top, area.right - area.left,
                         area.bottom - area.top, shown_, nullptr, GetModuleHandleW(nullptr), this);
}

void WinCoverWindows::Follow() {
  for (HWND cover : covers_) DestroyWindow(cover);
  covers_.clear();
  for (const RECT& area : monitors_()) {
    if (HWND cover = Create(area, WS_POPUP)) {
      ShowWindow(cover, SW_SHOWNOACTIVATE);
      covers_.push_back(cover);
    }
  }
}

LRESULT CALLBACK WinCoverWindows::Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<WinCoverWindows*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wparam, lparam);
  return self->Handle(hwnd, message, wparam, lparam);
}

LRESULT WinCoverWindows::Handle(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(hwnd, &client);
      FillRect(reinterpret_cast<HDC>(wparam), &client, brush_);
      return 1;
    }
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      // Should a cover get the keyboard after all, its keys are the show's.
      return SendMessageW(shown_, message, wparam, lparam);
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      POINT at{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      MapWindowPoints(hwnd, shown_, &at, 1);
      SendMessageW(shown_, message, wparam, MAKELPARAM(at.x, at.y));
      return 0;
    }
    case WM_CLOSE:
      PostMessageW(shown_, WM_CLOSE, 0, 0);
      return 0;
    case WM_DISPLAYCHANGE:
      if (watcher_) PostMessageW(watcher_, kFollow, 0, 0);
      return 0;
    case kFollow:
      Follow();
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace trelvin
