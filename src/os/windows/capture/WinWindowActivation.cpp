#include "os/windows/capture/WinWindowActivation.h"

#include <windows.h>

#include <string>

#include "os/windows/WinText.h"

namespace trelvin {

namespace {

struct Search {
  std::wstring title;
  HWND exact = nullptr;
  HWND prefix = nullptr;
};

std::wstring WindowTitle(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int n = GetWindowTextW(window, text.data(), length + 1);
  text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return text;
}

BOOL CALLBACK Visit(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<Search*>(data);
  if (!IsWindowVisible(window)) return TRUE;
  const std::wstring text = WindowTitle(window);
  if (text == search.title) {
    search.exact = window;
    return FALSE;  // nothing beats an exact title
  }
  if (!search.prefix && text.size() > search.title.size() &&
      text.compare(0, search.title.size(), search.title) == 0) {
    search.prefix = window;
  }
  return TRUE;
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
  if (title.empty()) return false;
  Search search;
  search.title = Widen(title);
  EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
  HWND window = search.exact ? search.exact : search.prefix;
  if (!window) return false;
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
