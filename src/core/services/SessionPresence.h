#pragma once

namespace trelvin {

// Whether the user is at this session: not behind its lock screen, not switched away from it.
class SessionPresence {
 public:
  virtual ~SessionPresence() = default;
  // True while the session is locked or is not the active one, as the system last said; answers
  // at once, never waiting for the system. False when the system cannot tell.
  virtual bool Away() = 0;
};

}  // namespace trelvin
