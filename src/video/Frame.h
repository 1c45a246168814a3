#pragma once

#include <cstdint>
#include <vector>

namespace trelvin::video {

// A picture of the video in the encoder's layout (I420: a full-size luma plane, then the two
// chroma planes at half width and height). Width and height are even.
struct Frame {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> y, u, v;

  void Resize(int w, int h) {
    width = w;
    height = h;
    y.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 16);
    u.assign(static_cast<std::size_t>(w / 2) * static_cast<std::size_t>(h / 2), 128);
    v.assign(u.size(), 128);
  }
};

// Where a picture of `source_w` x `source_h` goes inside a frame of `frame_w` x `frame_h`: as large
// as fits without changing its shape, centred, the rest black bars.
struct Placement {
  int x = 0, y = 0, width = 0, height = 0;
};
Placement FitInside(int source_w, int source_h, int frame_w, int frame_h);

// The video's size for pictures of `source_w` x `source_h`: their own size or, when `width` is
// given and smaller, that width with the height in proportion; both rounded down to even.
// Zero when the result would be empty.
void VideoSize(int source_w, int source_h, int width, int& out_w, int& out_h);

}  // namespace trelvin::video
