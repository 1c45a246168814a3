// The end of the user's session (logging off, shutting down, a restart for an update). The system
// asks every top-level window first (WM_QUERYENDSESSION), then tells it the session ends
// (WM_ENDSESSION), after which it may end the process at any moment: every open form unloads
// there, as closing its window would, so the settings window's unload writes the settings.
#include "os/windows/window/WinFormWindow.h"
#include "os/windows/window/WinWindowRuntime.h"

namespace trelvin {

std::optional<LRESULT> WinWindowRuntime::OnSessionMessage(UINT message, WPARAM wparam) {
  // Nothing here is worth holding the session up for.
  if (message == WM_QUERYENDSESSION) return TRUE;
  if (message != WM_ENDSESSION) return std::nullopt;
  // FALSE: the end was called off by another program; everything goes on as before.
  if (wparam) UnloadAllForms();
  return 0;
}

void WinWindowRuntime::UnloadAllForms() {
  // The innermost window first (the slide show before the settings window that owns it), as the
  // user would close them; each form's window gets the message, and the first one does it all.
  for (;;) {
    Form* innermost = nullptr;
    int deepest = -1;
    for (const auto& [form, window] : windows_) {
      if (!form->Loaded()) continue;
      int depth = 0;
      for (HWND owner = GetWindow(window->hwnd(), GW_OWNER); owner;
           owner = GetWindow(owner, GW_OWNER)) {
        ++depth;
      }
      if (depth > deepest) {
        deepest = depth;
        innermost = const_cast<Form*>(form);
      }
    }
    if (!innermost) return;
    innermost->Unload();
    if (innermost->Loaded()) return;  // never loop on a form that stays
  }
}

}  // namespace trelvin
