#pragma once

#include "core/services/SessionPresence.h"

namespace trelvin {

// The session's lock and console from WTSRegisterSessionNotification, on a hidden window of its
// own on the window thread: WTS_SESSION_LOCK / UNLOCK, WTS_CONSOLE_DISCONNECT / CONNECT (another
// user switched to, or a remote session took the console). Where the system sends none of them
// (Wine), the session counts as present.
class WinSessionPresence : public SessionPresence {
 public:
  WinSessionPresence();
  ~WinSessionPresence() override;
  WinSessionPresence(const WinSessionPresence&) = delete;
  WinSessionPresence& operator=(const WinSessionPresence&) = delete;

  bool Away() override { return locked_ || disconnected_; }

  // The window's messages; public for its window procedure.
  void SessionChanged(unsigned event);

 private:
  void* window_ = nullptr;  // HWND
  bool registered_ = false;
  bool locked_ = false;
  bool disconnected_ = false;
};

}  // namespace trelvin
