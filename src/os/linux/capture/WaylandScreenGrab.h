#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "core/services/ScreenGrab.h"
#include "os/linux/capture/ScreenCastFrames.h"
#include "os/linux/capture/ScreenCastPortal.h"
#include "os/linux/capture/ScreenCastToken.h"

namespace trelvin {

// The screen of a Wayland desktop, read through its screen-cast portal: a session opened at
// BeginSession (the desktop asks the user the first time; the token it returns is saved so later
// sessions start without asking) and kept until EndSession, whose stream's newest frame each
// grab copies. A grab fails (the canvas keeps its background) while no frame of the current
// stream is there: never the pixels of an earlier stream. When the desktop ends the session, the
// next grab asks again, once (again after each loss that follows a delivered frame); a refusal, or
// a renewed stream that ends before its first frame, holds until the next BeginSession.
class WaylandScreenGrab : public ScreenGrab {
 public:
  enum class State {
    kIdle,       // no session: before BeginSession, after EndSession
    kOpening,    // asked the portal, no answer yet
    kStreaming,  // a session and its stream
    kLost,       // the desktop ended the session; the next grab asks again
    kRefused,    // cancelled or failed; nothing more until the next BeginSession
  };

  WaylandScreenGrab(ScreenCastPortal& portal, ScreenCastFrames& frames,
                    const ScreenCastToken& token);
  ~WaylandScreenGrab() override;
  WaylandScreenGrab(const WaylandScreenGrab&) = delete;
  WaylandScreenGrab& operator=(const WaylandScreenGrab&) = delete;

  void BeginSession() override;
  void EndSession() override;
  std::unique_ptr<GrabSession> OpenDesktop() override;
  // What to install or allow when the portal is missing, refused or ended the sharing; empty
  // while the desktop is being asked, for up to a minute (the user may be reading its dialog).
  std::string Problem() override;

  State CurrentState() const { return state_; }

 private:
  class Session;
  void Ask();
  void Lose();

  ScreenCastPortal& portal_;
  ScreenCastFrames& frames_;
  const ScreenCastToken& token_;
  State state_ = State::kIdle;
  // The one renewed request after a loss has been made, and no frame has come since.
  bool asked_again_ = false;
  // Why the state is kRefused, for the user.
  std::string refusal_;
  std::chrono::steady_clock::time_point asked_at_{};
};

}  // namespace trelvin
