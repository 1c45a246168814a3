#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "video/Frame.h"

namespace trelvin::video {

// libvpx's VP9 encoder at its real-time settings: the fastest speed, row multithreading over two
// threads, no look-ahead (so no picture waits in the encoder but the one being encoded).
class Vp9Encoder {
 public:
  // One compressed picture: its bytes, its presentation number, whether it is a key frame.
  using Sink = std::function<bool(const void* data, std::size_t size, std::int64_t pts, bool key)>;

  Vp9Encoder();
  ~Vp9Encoder();
  Vp9Encoder(const Vp9Encoder&) = delete;
  Vp9Encoder& operator=(const Vp9Encoder&) = delete;

  // Sets the encoder up for `width` x `height` pictures at `fps` a second.
  bool Start(int width, int height, int fps);
  // Encodes `frame` as picture number `pts` and hands what comes out to `sink`.
  bool Encode(const Frame& frame, std::int64_t pts, const Sink& sink);
  // Flushes what the encoder holds back to `sink`.
  bool Finish(const Sink& sink);

 private:
  struct State;
  bool Drain(const Sink& sink);
  std::unique_ptr<State> state_;
};

}  // namespace trelvin::video
