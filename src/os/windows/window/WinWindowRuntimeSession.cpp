// The end of the user's session (logging off, shutting down, a restart for an update). The system
// asks every top-level window first (WM_QUERYENDSESSION), then tells it the session ends
// (WM_ENDSESSION), after which it may end the process at any moment: the program's forms unload
// there (UnloadAtSessionEnd), as closing their windows would, so the settings are written.
#include "os/windows/window/WinWindowRuntime.h"

namespace trelvin {

std::optional<LRESULT> WinWindowRuntime::OnSessionMessage(UINT message, WPARAM wparam) {
  // Nothing here is worth holding the session up for.
  if (message == WM_QUERYENDSESSION) return TRUE;
  if (message != WM_ENDSESSION) return std::nullopt;
  // FALSE: the end was called off by another program; everything goes on as before. Each form's
  // window gets the message: the first one unloads them all, the others find nothing loaded.
  if (wparam && on_session_end) on_session_end();
  return 0;
}

}  // namespace trelvin
