// The modal message loop of a form's window and its keyboard focus, as in a dialog.
#include "os/windows/window/WinFormWindow.h"

#include <algorithm>
#include <vector>

namespace trelvin {

void WinFormWindow::RestoreFocus() {
  if (focus_ && IsWindow(focus_) && IsWindowEnabled(focus_) && IsWindowVisible(focus_)) {
    SetFocus(focus_);
    return;
  }
  for (const auto& view : views_) {
    HWND child = view->hwnd();
    if (view->Focusable() && IsWindowEnabled(child) && IsWindowVisible(child)) {
      SetFocus(child);
      return;
    }
  }
  SetFocus(hwnd_);
}

void WinFormWindow::MoveFocus(int step) {
  std::vector<HWND> order;
  for (const auto& view : views_) {
    HWND child = view->hwnd();
    if (view->Focusable() && IsWindowEnabled(child) && IsWindowVisible(child)) {
      order.push_back(child);
    }
  }
  if (order.empty()) return;
  const auto current = std::find(order.begin(), order.end(), GetFocus());
  std::size_t next = 0;
  if (current != order.end()) {
    const auto n = static_cast<std::ptrdiff_t>(order.size());
    next = static_cast<std::size_t>(((current - order.begin()) + step + n) % n);
  } else if (step < 0) {
    next = order.size() - 1;
  }
  // As the dialog manager does it: a push button with the focus is the default one.
  SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(order[next]), TRUE);
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
    // Tab in the form's Tab order; arrow keys, mnemonics and Enter as in a dialog, in windows
    // with a fixed border.
    WinFormWindow* target = FromHandle(msg.hwnd);
    if (target && target->Scaled()) {
      if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
        target->MoveFocus(GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
        continue;
      }
      if (IsDialogMessageW(target->hwnd_, &msg)) continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  in_modal_loop_ = false;
}

}  // namespace trelvin
