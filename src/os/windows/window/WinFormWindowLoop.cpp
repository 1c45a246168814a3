// The modal message loop of a form's window and its keyboard focus, as in a dialog.
#include "os/windows/window/WinFormWindow.h"

#include "core/runtime/FormRules.h"

namespace trelvin {

void WinFormWindow::RestoreFocus() {
  if (focus_ && IsWindow(focus_) && IsWindowEnabled(focus_) && IsWindowVisible(focus_)) {
    SetFocus(focus_);
    return;
  }
  WinControlView* first = ViewOf(NextFocus(form_, nullptr, 1));
  SetFocus(first ? first->hwnd() : hwnd_);
}

void WinFormWindow::MoveFocus(int step) {
  WinControlView* current = ViewOf(GetFocus());
  WinControlView* next = ViewOf(NextFocus(form_, current ? &current->model() : nullptr, step));
  // Not WM_NEXTDLGCTL: only a dialog's own window procedure acts on it, and this window is none.
  if (next) SetFocus(next->hwnd());
}

Control* WinFormWindow::FocusedControl() const {
  WinControlView* view = ViewOf(GetFocus());
  return view ? &view->model() : nullptr;
}

bool WinFormWindow::PreTranslate(MSG& msg) {
  // Tab in the form's Tab order; arrow keys, mnemonics and Enter as in a dialog, in windows
  // with a fixed border.
  WinFormWindow* target = FromHandle(msg.hwnd);
  if (!target || !target->Scaled()) return false;
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
    target->MoveFocus(GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
    return true;
  }
  return IsDialogMessageW(target->hwnd_, &msg) != FALSE;
}

void WinFormWindow::RunModal() {
  if (unloaded_ || in_modal_loop_) return;
  in_modal_loop_ = true;
  MSG msg;
  while (!unloaded_) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the loops outside this one
      break;
    }
    if (got < 0) break;
    if (PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  in_modal_loop_ = false;
}

}  // namespace trelvin
