#pragma once

#include <memory>
#include <optional>
#include <string>

#include "core/base/Bitmap.h"
#include "core/base/Types.h"

namespace trelvin {

// One grab session on the desktop (the desktop's device context): obtained and released once per
// capture.
class GrabSession {
 public:
  virtual ~GrabSession() = default;
  // Copies the desktop's top-left width x height pixels into `target` at (0, 0); false when the
  // copy failed (the target is then left as it was).
  virtual bool CopyTo(Bitmap& target, int width, int height) = 0;
  // Like CopyTo, but every pixel of `target` that the copy does not set (all of them when it
  // fails) becomes `background`: a clear and a copy in one pass over the target.
  virtual bool CopyToCleared(Bitmap& target, int width, int height, Rgb background) {
    target.Fill(background);
    return CopyTo(target, width, height);
  }
  // The desktop's top-left width x height pixels where the session holds exactly those, read
  // from the desktop without being copied again; nothing when it cannot (the caller then copies).
  // Valid until the next call on the session; a CopyTo of the same size then copies these very
  // pixels. Lets an unchanged screen be told before anything is copied.
  virtual std::optional<PixelView> Peek(int /*width*/, int /*height*/) { return std::nullopt; }
  // Releases the session; later calls do nothing.
  virtual void Release() = 0;
};

// The desktop grab of the primary screen.
class ScreenGrab {
 public:
  virtual ~ScreenGrab() = default;
  // Capturing starts (the user's start): a grab that needs the desktop's permission or a stream
  // asks for it here, without waiting for the answer; later sessions fail until it is granted.
  virtual void BeginSession() = 0;
  // Capturing stops or the window unloads: whatever BeginSession opened is closed; harmless
  // when nothing is open.
  virtual void EndSession() = 0;
  // A new session on the desktop, or nullptr when none can be had.
  virtual std::unique_ptr<GrabSession> OpenDesktop() = 0;
  // Why grabs fail now, in words for the user that say what to install or allow; empty while
  // they work or while the desktop is still being asked.
  virtual std::string Problem() = 0;
};

}  // namespace trelvin
