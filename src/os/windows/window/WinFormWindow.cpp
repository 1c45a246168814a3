#include "os/windows/window/WinFormWindow.h"

#include <commctrl.h>
#include <windowsx.h>

#include "core/runtime/FormRules.h"
#include "os/windows/WinText.h"
#include "os/windows/window/WinControlViews.h"
#include "os/windows/window/WinKeys.h"

namespace trelvin {

namespace {

constexpr wchar_t kFormClass[] = L"TrelvinForm";
constexpr UINT_PTR kFirstTimerId = 1;

ATOM RegisterFormClass() {
  static const ATOM atom = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    // The program's icon (resource 1), in both sizes the window shows.
    wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
    wc.hIconSm = static_cast<HICON>(LoadImageW(wc.hInstance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    wc.lpszClassName = kFormClass;
    return RegisterClassExW(&wc);
  }();
  return atom;
}

COLORREF ToColorRef(Rgb rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

DWORD StyleOf(const Form& form) {
  if (form.Border() == BorderStyle::kNone) return WS_POPUP | WS_CLIPCHILDREN;
  return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
}

HFONT MakeFont(UINT dpi, bool underline) {
  LOGFONTW lf{};
  // 8.25 points, the classic dialog font.
  lf.lfHeight = -MulDiv(825, static_cast<int>(dpi), 7200);
  lf.lfWeight = FW_NORMAL;
  lf.lfUnderline = underline ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  wcscpy(lf.lfFaceName, L"Microsoft Sans Serif");
  return CreateFontIndirectW(&lf);
}

}  // namespace

WinFormWindow::WinFormWindow(Form& form, HWND owner) : form_(form) {
  RegisterFormClass();
  back_brush_ = CreateSolidBrush(ToColorRef(form.BackColor()));
  hwnd_ =
      CreateWindowExW(0, kFormClass, Widen(form.Caption()).c_str(), StyleOf(form), CW_USEDEFAULT,
                      CW_USEDEFAULT, 0, 0, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) return;
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WinFormWindow::Proc));
  tooltips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  ApplyDpi(GetDpiForWindow(hwnd_));
  PlaceWindow(nullptr);

  for (std::size_t i = 0; i < form_.Timers().size(); ++i) {
    form_.Timers()[i]->on_view_changed = [this, i] { SyncTimer(i); };
    SyncTimer(i);
  }
  form_.on_view_changed = [this] { SyncForm(); };
  SyncForm();
}

WinFormWindow::~WinFormWindow() {
  form_.on_view_changed = nullptr;
  for (Timer* timer : form_.Timers()) timer->on_view_changed = nullptr;
  views_.clear();
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);  // also the tool tips, which it owns
  }
  if (font_) DeleteObject(font_);
  if (underlined_font_) DeleteObject(underlined_font_);
  if (back_brush_) DeleteObject(back_brush_);
}

WinFormWindow* WinFormWindow::FromHandle(HWND hwnd) {
  HWND root = hwnd ? GetAncestor(hwnd, GA_ROOT) : nullptr;
  if (!root || GetClassLongPtrW(root, GCW_ATOM) != RegisterFormClass()) return nullptr;
  return reinterpret_cast<WinFormWindow*>(GetWindowLongPtrW(root, GWLP_USERDATA));
}

bool WinFormWindow::CreateViews() {
  // Creation order is the Tab order (the dialog manager walks the children in Z order).
  for (Control* control : TabOrder(form_)) {
    std::unique_ptr<WinControlView> view = CreateControlView(*control, *this);
    if (!view) {
      views_.clear();
      return false;
    }
    views_.push_back(std::move(view));
  }
  // Where controls overlap, one later in the Tab order lies above one earlier, and every control
  // drawn on the form (labels) lies beneath the windowed ones. The Tab key follows the Tab order
  // itself (MoveFocus), not this stacking.
  for (const auto& view : views_) {
    if (!view->Lightweight()) {
      SetWindowPos(view->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  for (auto it = views_.rbegin(); it != views_.rend(); ++it) {
    if ((*it)->Lightweight()) {
      SetWindowPos((*it)->hwnd(), HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  return true;
}

int WinFormWindow::ControlId(const WinControlView& view) const {
  // Ids from 100 up, clear of IDOK and IDCANCEL, which the dialog manager sends for Enter and Esc.
  for (std::size_t i = 0; i < views_.size(); ++i) {
    if (views_[i].get() == &view) return static_cast<int>(100 + i);
  }
  return static_cast<int>(100 + views_.size());
}

WinControlView* WinFormWindow::ViewOf(HWND child) const {
  for (const auto& view : views_) {
    if (view->hwnd() == child) return view.get();
  }
  return nullptr;
}

WinControlView* WinFormWindow::ViewOf(const Control* control) const {
  for (const auto& view : views_) {
    if (&view->model() == control) return view.get();
  }
  return nullptr;
}

RECT WinFormWindow::ToDevice(const Rect& r) const {
  if (!Scaled()) return {r.left, r.top, r.left + r.width, r.top + r.height};
  const int dpi = static_cast<int>(dpi_);
  const int left = MulDiv(r.left, dpi, 96);
  const int top = MulDiv(r.top, dpi, 96);
  return {left, top, left + MulDiv(r.width, dpi, 96), top + MulDiv(r.height, dpi, 96)};
}

void WinFormWindow::SetToolTip(HWND control, const std::string& text) {
  if (!tooltips_ || !control) return;
  const std::wstring wide = Widen(text);
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = hwnd_;
  info.uId = reinterpret_cast<UINT_PTR>(control);
  SendMessageW(tooltips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  if (wide.empty()) return;
  info.lpszText = const_cast<wchar_t*>(wide.c_str());
  SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void WinFormWindow::ApplyDpi(UINT dpi) {
  dpi_ = dpi ? dpi : 96;
  if (font_) DeleteObject(font_);
  if (underlined_font_) DeleteObject(underlined_font_);
  font_ = MakeFont(dpi_, false);
  underlined_font_ = MakeFont(dpi_, true);
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  if (tooltips_) SendMessageW(tooltips_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  for (auto& view : views_) view->Sync();
}

void WinFormWindow::PlaceWindow(const RECT* suggested) {
  const Rect g = form_.Geometry();
  if (!Scaled()) {
    SetWindowPos(hwnd_, nullptr, g.left, g.top, g.width, g.height, SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  const RECT client = ToDevice({0, 0, g.width, g.height});
  RECT frame = client;
  AdjustWindowRectExForDpi(&frame, StyleOf(form_), FALSE, 0, dpi_);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  if (suggested) {
    SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  }
}

void WinFormWindow::SyncForm() {
  if (!hwnd_ || syncing_) return;
  syncing_ = true;
  const std::wstring caption = Widen(form_.Caption());
  wchar_t current[256] = {};
  GetWindowTextW(hwnd_, current, 256);
  if (caption != current) SetWindowTextW(hwnd_, caption.c_str());

  const Rect g = form_.Geometry();
  const bool covers =
      CoversScreen(form_, {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
  if (Scaled()) {
    PlaceWindow(nullptr);
  } else {
    // A window that covers the primary screen stays above the task bar.
    SetWindowPos(hwnd_, covers ? HWND_TOPMOST : HWND_NOTOPMOST, g.left, g.top, g.width, g.height,
                 SWP_NOACTIVATE);
  }
  const bool shown = IsWindowVisible(hwnd_) != FALSE;
  if (form_.Visible() && !shown) {
    ShowWindow(hwnd_, form_.State() == WindowState::kMinimized ? SW_SHOWMINIMIZED : SW_SHOW);
  } else if (!form_.Visible() && shown) {
    ShowWindow(hwnd_, SW_HIDE);
  } else if (shown) {
    const bool iconic = IsIconic(hwnd_) != FALSE;
    if (form_.State() == WindowState::kMinimized && !iconic) ShowWindow(hwnd_, SW_MINIMIZE);
    if (form_.State() == WindowState::kNormal && iconic) ShowWindow(hwnd_, SW_RESTORE);
  }
  InvalidateRect(hwnd_, nullptr, TRUE);
  syncing_ = false;
}

void WinFormWindow::SyncTimer(std::size_t index) {
  const Timer& model = *form_.Timers()[index];
  const UINT_PTR id = kFirstTimerId + index;
  const bool run = TimerRuns(model) && !unloaded_;
  if (run) {
    SetTimer(hwnd_, id, static_cast<UINT>(model.Interval()), nullptr);
  } else {
    KillTimer(hwnd_, id);
  }
}

void WinFormWindow::OnMouse(std::int16_t button, WPARAM wparam, LPARAM lparam) {
  float x = static_cast<float>(GET_X_LPARAM(lparam));
  float y = static_cast<float>(GET_Y_LPARAM(lparam));
  if (Scaled()) {
    x = x * 96.0f / static_cast<float>(dpi_);
    y = y * 96.0f / static_cast<float>(dpi_);
  }
  // The message carries Shift and Ctrl as they were when the button went down.
  const std::int16_t shift =
      ShiftState((wparam & MK_SHIFT) != 0, (wparam & MK_CONTROL) != 0, GetKeyState(VK_MENU) < 0);
  events_.MouseDown(button, shift, x, y);
}

void WinFormWindow::FormUnloaded() {
  unloaded_ = true;
  for (std::size_t i = 0; i < form_.Timers().size(); ++i) KillTimer(hwnd_, kFirstTimerId + i);
  ShowWindow(hwnd_, SW_HIDE);
  // Wakes the modal loop, which checks `unloaded_` after each message.
  PostMessageW(hwnd_, WM_NULL, 0, 0);
}

LRESULT CALLBACK WinFormWindow::Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<WinFormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wparam, lparam);
  return self->Handle(message, wparam, lparam);
}

LRESULT WinFormWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  for (const MessageHook& hook : hooks_) {
    if (std::optional<LRESULT> result = hook(message, wparam, lparam)) return *result;
  }
  switch (message) {
    case WM_CLOSE:
      // The form decides: the window goes when the form has unloaded.
      events_.CloseRequested();
      return 0;
    case WM_ACTIVATE:
      // Like a dialog, the window keeps the focused control across deactivation.
      if (LOWORD(wparam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) focus_ = focus;
      } else if (!HIWORD(wparam)) {
        RestoreFocus();
      }
      return 0;
    case WM_SIZE:
      // Minimised or restored by the user or the system: the model follows the screen.
      if (!syncing_ && wparam == SIZE_MINIMIZED) form_.SetWindowState(WindowState::kMinimized);
      if (!syncing_ && wparam == SIZE_RESTORED) form_.SetWindowState(WindowState::kNormal);
      return 0;
    case WM_DPICHANGED: {
      ApplyDpi(HIWORD(wparam));
      PlaceWindow(reinterpret_cast<const RECT*>(lparam));
      InvalidateRect(hwnd_, nullptr, TRUE);
      return 0;
    }
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(hwnd_, &r);
      FillRect(reinterpret_cast<HDC>(wparam), &r, back_brush_);
      return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR: {
      HDC dc = reinterpret_cast<HDC>(wparam);
      if (WinControlView* view = ViewOf(reinterpret_cast<HWND>(lparam))) {
        if (HBRUSH brush = view->OnColor(dc)) return reinterpret_cast<LRESULT>(brush);
      }
      if (message == WM_CTLCOLORSCROLLBAR) break;
      SetBkColor(dc, ToColorRef(form_.BackColor()));
      return reinterpret_cast<LRESULT>(back_brush_);
    }
    case WM_COMMAND:
      if (lparam == 0) return 0;  // IDOK / IDCANCEL from Enter / Esc: not a control's
      if (WinControlView* view = ViewOf(reinterpret_cast<HWND>(lparam))) {
        view->OnCommand(HIWORD(wparam));
      }
      return 0;
    case WM_HSCROLL:
      if (WinControlView* view = ViewOf(reinterpret_cast<HWND>(lparam))) {
        view->OnScroll(LOWORD(wparam), wparam);
      }
      return 0;
    case WM_SETCURSOR:
      if (WinControlView* view = ViewOf(reinterpret_cast<HWND>(wparam))) {
        if (HCURSOR cursor = view->Cursor()) {
          SetCursor(cursor);
          return TRUE;
        }
      }
      break;
    case WM_TIMER:
      if (wparam >= kFirstTimerId && wparam < kFirstTimerId + form_.Timers().size()) {
        events_.Tick(*form_.Timers()[wparam - kFirstTimerId]);
      }
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      // F10 and Alt open no menu over the borderless window, and Alt+F4 never closes it behind
      // the form's back.
      const bool taken = events_.KeyDown(static_cast<std::int16_t>(wparam), ShiftState());
      if (message == WM_KEYDOWN || taken) return 0;
      break;
    }
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
      if (form_.Border() == BorderStyle::kNone) return 0;
      break;
    case WM_LBUTTONDOWN:
      OnMouse(kLeftButton, wparam, lparam);
      return 0;
    case WM_RBUTTONDOWN:
      OnMouse(kRightButton, wparam, lparam);
      return 0;
    case WM_MBUTTONDOWN:
      OnMouse(kMiddleButton, wparam, lparam);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

}  // namespace trelvin
