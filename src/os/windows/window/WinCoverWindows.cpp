#include "os/windows/window/WinCoverWindows.h"

#include <windowsx.h>

#include <utility>

#include "core/runtime/FormRules.h"
#include "os/windows/window/WinKeys.h"

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

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info)) {
    reinterpret_cast<std::vector<RECT>*>(data)->push_back(info.rcMonitor);
  }
  return TRUE;
}

Rect ToRect(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

}  // namespace

std::vector<RECT> WinCoverWindows::AllMonitors() {
  std::vector<RECT> all;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&all));
  return all;
}

WinCoverWindows::WinCoverWindows(HWND shown, Form& form, FormEvents& events, Monitors monitors)
    : shown_(shown), rules_(form, events, *this), monitors_(std::move(monitors)) {
  if (!RegisterCoverClass(Proc)) return;
  // Unowned and hidden: the system tells every such top-level window of a display change.
  watcher_ = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                             nullptr, GetModuleHandleW(nullptr), this);
  Follow();
}

WinCoverWindows::~WinCoverWindows() {
  for (HWND cover : covers_) DestroyWindow(cover);
  if (watcher_) DestroyWindow(watcher_);
  if (brush_) DeleteObject(brush_);
}

void WinCoverWindows::Follow() {
  std::vector<Rect> monitors;
  for (const RECT& r : monitors_()) monitors.push_back(ToRect(r));
  RECT shown{};
  GetWindowRect(shown_, &shown);
  rules_.Follow(monitors, ToRect(shown));
}

void WinCoverWindows::PlaceCover(std::size_t index, Rect area, Rgb colour) {
  if (!brush_ || colour != colour_) {
    if (brush_) DeleteObject(brush_);
    brush_ = CreateSolidBrush(RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF));
    colour_ = colour;
    for (HWND cover : covers_) InvalidateRect(cover, nullptr, TRUE);
  }
  if (index < covers_.size()) {
    SetWindowPos(covers_[index], HWND_TOPMOST, area.left, area.top, area.width, area.height,
                 SWP_NOACTIVATE);
    return;
  }
  HWND cover = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kClassName,
                               L"TrelvinShow", WS_POPUP, area.left, area.top, area.width,
                               area.height, shown_, nullptr, GetModuleHandleW(nullptr), this);
  // Numbered as the core counts them: one that cannot be made leaves its monitor bare.
  covers_.push_back(cover);
  if (cover) ShowWindow(cover, SW_SHOWNOACTIVATE);
}

void WinCoverWindows::RemoveCovers(std::size_t count) {
  while (covers_.size() > count) {
    if (covers_.back()) DestroyWindow(covers_.back());
    covers_.pop_back();
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
      if (rules_.KeyDown(static_cast<std::int16_t>(wparam), ShiftState())) return 0;
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      // In the shown window's client pixels: the shown form is borderless, laid out in device
      // pixels as its own clicks are.
      POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      MapWindowPoints(hwnd, shown_, &at, 1);
      const std::int16_t button = message == WM_LBUTTONDOWN   ? kLeftButton
                                  : message == WM_RBUTTONDOWN ? kRightButton
                                                              : kMiddleButton;
      rules_.MouseDown(button,
                       ShiftState((wparam & MK_SHIFT) != 0, (wparam & MK_CONTROL) != 0,
                                  GetKeyState(VK_MENU) < 0),
                       static_cast<float>(at.x), static_cast<float>(at.y));
      return 0;
    }
    case WM_CLOSE:
      rules_.CloseRequested();
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
