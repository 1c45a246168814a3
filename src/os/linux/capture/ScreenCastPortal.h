#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace trelvin {

// How a request for a screen-cast session ended.
enum class ScreenCastOutcome {
  kStarted,    // the desktop granted a monitor: a stream and a remote to read it
  kCancelled,  // the user dismissed the desktop's dialog
  kFailed,     // anything else: no portal, an error, a malformed answer
};

// What a started session hands over.
struct ScreenCastGrant {
  int fd = -1;                // the PipeWire remote; the receiver owns it
  std::uint32_t node = 0;     // the stream of the chosen monitor
  std::string restore_token;  // to pass to the next Open (empty when the desktop gave none)
};

// The desktop's screen-cast portal: one session at a time, on one monitor, the pointer drawn
// into the frames, the permission kept until the user revokes it.
class ScreenCastPortal {
 public:
  using Done = std::function<void(ScreenCastOutcome, ScreenCastGrant)>;
  using Closed = std::function<void()>;

  virtual ~ScreenCastPortal() = default;
  // Asks for a session, with `restore_token` when not empty (no dialog when the desktop still
  // knows it), and returns at once. `done` runs once, later, from the event loop; `closed` runs
  // if the desktop ends the started session. Neither runs after Close or the next Open.
  virtual void Open(const std::string& restore_token, Done done, Closed closed) = 0;
  // Ends the session, started or still being asked for; harmless when there is none.
  virtual void Close() = 0;
};

}  // namespace trelvin
