#include "os/windows/capture/WinWindowActivation.h"

#include <windows.h>

#include <optional>
#include <string>

#include "os/common/TitleMatch.h"
#include "os/windows/WinText.h"

namespace trelvin {

namespace {

std::wstring WindowTitle(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int n = GetWindowTextW(window, text.data(), length + 1);
  text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return text;
}

BOOL CALLBACK Visit(HWND window, LPARAM data) {
  auto& match = *reinterpret_cast<TitleMatch<HWND>*>(data);
  if (!IsWindowVisible(window)) return TRUE;
  // FALSE ends the enumeration: nothing beats an exact title.
  return match.Offer(Narrow(WindowTitle(window)), window) ? FALSE : TRUE;
}

// SetForegroundWindow is refused while another process holds the foreground lock; with this
// thread's input attached to the foreground window's thread the call counts as that thread's.
bool BringToForeground(HWND window) {
  if (SetForegroundWindow(window)) return true;
  HWND current = GetForegroundWindow();
  const DWORD mine = GetCurrentThreadId();
  const DWORD theirs = current ? GetWindowThreadProcessId(current, nullptr) : 0;
  const bool attached = theirs != 0 && theirs != mine && AttachThreadInput(mine, theirs, TRUE);
  BringWindowToTop(window);
  const bool done = SetForegroundWindow(window) != 0;
  if (attached) AttachThreadInput(mine, theirs, FALSE);
  return done;
}

}  // namespace

bool WinWindowActivation::ActivateWindow(const std::string& title) {
  TitleMatch<HWND> match(title);
  EnumWindows(Visit, reinterpret_cast<LPARAM>(&match));
  const std::optional<HWND> found = match.Best();
  if (!found) return false;
  HWND window = *found;
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  return BringToForeground(window);
}

bool WinWindowActivation::SendEnter() {
  INPUT keys[2] = {};
  keys[0].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = VK_RETURN;
  keys[1] = keys[0];
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  return SendInput(2, keys, sizeof(INPUT)) == 2;
}

}  // namespace trelvin
