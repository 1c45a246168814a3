#pragma once

#include <cstdint>
#include <optional>

#include "core/base/Bitmap.h"
#include "core/base/Types.h"

namespace trelvin {

// The frames of one screen-cast stream, of which only the newest is kept.
class ScreenCastFrames {
 public:
  virtual ~ScreenCastFrames() = default;
  // Starts reading stream `node` of the PipeWire remote `fd` (owned from now on) and returns at
  // once: the stream is set up on another thread, within a time limit.
  virtual void Start(int fd, std::uint32_t node) = 0;
  // Ends the stream and forgets its frames; returns at once. Harmless when none runs.
  virtual void Stop() = 0;
  // Copies the newest frame of the running stream into the top-left of `target` (at most
  // width x height); with `background`, every other pixel becomes that colour. False, with the
  // target untouched (or all `background`), when there is no frame: not yet, or the stream ended.
  virtual bool CopyLatest(Bitmap& target, int width, int height, std::optional<Rgb> background) = 0;
  // Whether the stream started last has ended or failed (the desktop stopped it, or it never
  // came up in time).
  virtual bool Ended() = 0;
};

}  // namespace trelvin
