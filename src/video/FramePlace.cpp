// The scale pass: the decoded picture fitted into the frame with a bilinear filter, the bars black,
// and the colours turned into the encoder's limited-range BT.601 YCbCr, two rows at a time.
#include <algorithm>
#include <cstring>

#include "video/FrameLoader.h"

namespace trelvin::video {

namespace {

inline std::uint8_t Luma(int r, int g, int b) {
  return static_cast<std::uint8_t>(((66 * r + 129 * g + 25 * b + 128) >> 8) + 16);
}
inline std::uint8_t Cb(int r, int g, int b) {
  return static_cast<std::uint8_t>(((-38 * r - 74 * g + 112 * b + 128) >> 8) + 128);
}
inline std::uint8_t Cr(int r, int g, int b) {
  return static_cast<std::uint8_t>(((112 * r - 94 * g - 18 * b + 128) >> 8) + 128);
}

// Source position (in 1/256 pixels) of destination pixel `i` of `dst` over `src` pixels, centres
// aligned, kept inside the source.
int SourcePosition(int i, int dst, int src) {
  const long long pos = ((2LL * i + 1) * src * 256) / (2LL * dst) - 128;
  return static_cast<int>(std::clamp<long long>(pos, 0, (src - 1) * 256LL));
}

}  // namespace

void FrameLoader::ScaleRow(const Placement& place, int y, std::uint8_t* out) {
  std::memset(out, 0, static_cast<std::size_t>(place.x) * 3);
  std::uint8_t* content = out + static_cast<std::size_t>(place.x) * 3;
  const std::size_t stride = static_cast<std::size_t>(rgb_w_) * 3;
  const int row = y - place.y;
  if (rgb_w_ == place.width && rgb_h_ == place.height) {
    std::memcpy(content, rgb_.data() + stride * static_cast<std::size_t>(row), stride);
  } else {
    const int sy = SourcePosition(row, place.height, rgb_h_);
    const int y0 = sy >> 8, fy = sy & 255;
    const int y1 = std::min(y0 + 1, rgb_h_ - 1);
    const std::uint8_t* a = rgb_.data() + stride * static_cast<std::size_t>(y0);
    const std::uint8_t* b = rgb_.data() + stride * static_cast<std::size_t>(y1);
    for (int x = 0; x < place.width; ++x) {
      const int sx = column_[static_cast<std::size_t>(x)];
      const int x0 = sx >> 8, fx = sx & 255;
      const int x1 = std::min(x0 + 1, rgb_w_ - 1) * 3;
      for (int c = 0; c < 3; ++c) {
        const int top = a[x0 * 3 + c] * (256 - fx) + a[x1 + c] * fx;
        const int bottom = b[x0 * 3 + c] * (256 - fx) + b[x1 + c] * fx;
        content[x * 3 + c] =
            static_cast<std::uint8_t>((top * (256 - fy) + bottom * fy + (1 << 15)) >> 16);
      }
    }
  }
  const int right = place.x + place.width;
  std::memset(content + static_cast<std::size_t>(place.width) * 3, 0,
              static_cast<std::size_t>(rows_.size() / 6 - static_cast<std::size_t>(right)) * 3);
}

void FrameLoader::Place(const Placement& place, Frame& frame) {
  const std::size_t width = static_cast<std::size_t>(frame.width);
  rows_.resize(width * 6);
  column_.resize(static_cast<std::size_t>(place.width));
  for (int x = 0; x < place.width; ++x) {
    column_[static_cast<std::size_t>(x)] = SourcePosition(x, place.width, rgb_w_);
  }
  for (int y = 0; y < frame.height; y += 2) {
    std::uint8_t* rows[2] = {rows_.data(), rows_.data() + width * 3};
    for (int k = 0; k < 2; ++k) {
      if (y + k >= place.y && y + k < place.y + place.height) {
        ScaleRow(place, y + k, rows[k]);
      } else {
        std::memset(rows[k], 0, width * 3);
      }
    }
    std::uint8_t* luma = frame.y.data() + width * static_cast<std::size_t>(y);
    std::uint8_t* cb = frame.u.data() + width / 2 * static_cast<std::size_t>(y / 2);
    std::uint8_t* cr = frame.v.data() + width / 2 * static_cast<std::size_t>(y / 2);
    for (std::size_t x = 0; x < width; x += 2) {
      int r = 0, g = 0, b = 0;
      for (int k = 0; k < 2; ++k) {
        for (std::size_t d = 0; d < 2; ++d) {
          const std::uint8_t* p = rows[k] + (x + d) * 3;
          luma[width * static_cast<std::size_t>(k) + x + d] = Luma(p[0], p[1], p[2]);
          r += p[0];
          g += p[1];
          b += p[2];
        }
      }
      cb[x / 2] = Cb((r + 2) >> 2, (g + 2) >> 2, (b + 2) >> 2);
      cr[x / 2] = Cr((r + 2) >> 2, (g + 2) >> 2, (b + 2) >> 2);
    }
  }
}

}  // namespace trelvin::video
