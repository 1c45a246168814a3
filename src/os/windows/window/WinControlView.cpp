#include "os/windows/window/WinControlView.h"

#include <windowsx.h>

#include "os/windows/window/WinFormWindow.h"

namespace trelvin {

namespace {

constexpr wchar_t kCustomClass[] = L"TrelvinView";

}  // namespace

WinControlView::WinControlView(Control& model, WinFormWindow& window)
    : model_(model), window_(window) {}

WinControlView::~WinControlView() {
  model_.on_view_changed = nullptr;
  if (hwnd_ && IsWindow(hwnd_)) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void WinControlView::Create(const wchar_t* window_class, const std::wstring& text, DWORD style,
                            DWORD ex_style) {
  // Created hidden and unsized; Sync places and shows it.
  hwnd_ = CreateWindowExW(ex_style, window_class, text.c_str(), WS_CHILD | WS_CLIPSIBLINGS | style,
                          0, 0, 0, 0, window_.hwnd(),
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(window_.ControlId(*this))),
                          GetModuleHandleW(nullptr), nullptr);
}

void WinControlView::Bind() {
  model_.on_view_changed = [this] { Sync(); };
  Sync();
}

void WinControlView::Sync() {
  if (!hwnd_) return;
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(window_.Font(false)), FALSE);
  const RECT r = window_.ToDevice(model_.Geometry());
  SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  const bool enabled = model_.Enabled();
  if ((IsWindowEnabled(hwnd_) != FALSE) != enabled) {
    // A control that is disabled while it has the focus hands it on, as in a dialog.
    if (!enabled && GetFocus() == hwnd_) {
      SendMessageW(window_.hwnd(), WM_NEXTDLGCTL, 0, FALSE);
    }
    EnableWindow(hwnd_, enabled ? TRUE : FALSE);
  }
  ShowWindow(hwnd_, model_.Visible() ? SW_SHOWNA : SW_HIDE);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

WinCustomView::WinCustomView(Control& model, WinFormWindow& window)
    : WinControlView(model, window) {}

void WinCustomView::CreateCustom(bool opaque) {
  static const ATOM atom = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &WinCustomView::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kCustomClass;
    return RegisterClassExW(&wc);
  }();
  (void)atom;
  Create(kCustomClass, L"", 0, 0);
  if (hwnd_) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  opaque_ = opaque;
}

LRESULT CALLBACK WinCustomView::Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<WinCustomView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wparam, lparam);
  switch (message) {
    case WM_ERASEBKGND:
      // An opaque view paints every pixel in WM_PAINT; the others get the form's background.
      if (self->opaque_) return 1;
      {
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wparam), &r, self->window_.BackBrush());
      }
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      self->Paint(dc, ps.rcPaint);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      const int button = message == WM_LBUTTONDOWN ? 1 : message == WM_RBUTTONDOWN ? 2 : 4;
      SetCapture(hwnd);
      self->OnMouseDown(button, GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
      return 0;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      const int button = message == WM_LBUTTONUP ? 1 : message == WM_RBUTTONUP ? 2 : 4;
      if (GetCapture() == hwnd) ReleaseCapture();
      self->OnMouseUp(button, GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
      return 0;
    }
    default:
      return DefWindowProcW(hwnd, message, wparam, lparam);
  }
}

}  // namespace trelvin
