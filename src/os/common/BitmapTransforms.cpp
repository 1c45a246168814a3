#include "os/common/BitmapTransforms.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

namespace trelvin {

namespace {

bool Allocate(Bitmap& bitmap, int width, int height) {
  try {
    bitmap.pixels.assign(static_cast<std::size_t>(width) * height, 0);
  } catch (const std::bad_alloc&) {
    return false;
  }
  bitmap.width = width;
  bitmap.height = height;
  return true;
}

// The first source position each target position covers, and one past its last.
std::vector<int> Spans(int source, int target) {
  std::vector<int> bounds(static_cast<std::size_t>(target) + 1);
  for (int i = 0; i <= target; ++i) {
    bounds[i] = static_cast<int>(static_cast<long long>(i) * source / target);
  }
  return bounds;
}

}  // namespace

Bitmap Oriented(const Bitmap& stored, int orientation) {
  if (orientation < 2 || orientation > 8) return stored;
  const int w = stored.width, h = stored.height;
  const bool turned = orientation >= 5;
  Bitmap out;
  if (!Allocate(out, turned ? h : w, turned ? w : h)) return {};
  for (int oy = 0; oy < out.height; ++oy) {
    std::uint32_t* row = out.Row(oy);
    for (int ox = 0; ox < out.width; ++ox) {
      int ix = ox, iy = oy;
      switch (orientation) {
        case 2:
          ix = w - 1 - ox;
          break;
        case 3:
          ix = w - 1 - ox, iy = h - 1 - oy;
          break;
        case 4:
          iy = h - 1 - oy;
          break;
        case 5:
          ix = oy, iy = ox;
          break;
        case 6:
          ix = oy, iy = h - 1 - ox;
          break;
        case 7:
          ix = w - 1 - oy, iy = h - 1 - ox;
          break;
        default:
          ix = w - 1 - oy, iy = ox;
          break;  // 8
      }
      row[ox] = stored.Row(iy)[ix];
    }
  }
  return out;
}

Bitmap BoxScaled(const Bitmap& source, Size size) {
  Bitmap out;
  if (source.width <= 0 || source.height <= 0 || size.width <= 0 || size.height <= 0 ||
      !Allocate(out, size.width, size.height)) {
    return {};
  }
  const std::vector<int> xs = Spans(source.width, size.width);
  const std::vector<int> ys = Spans(source.height, size.height);
  for (int y = 0; y < size.height; ++y) {
    const int y0 = ys[y], y1 = std::max(ys[y + 1], y0 + 1);
    std::uint32_t* row = out.Row(y);
    for (int x = 0; x < size.width; ++x) {
      const int x0 = xs[x], x1 = std::max(xs[x + 1], x0 + 1);
      std::uint64_t r = 0, g = 0, b = 0;
      for (int sy = y0; sy < y1; ++sy) {
        const std::uint32_t* from = source.Row(sy);
        for (int sx = x0; sx < x1; ++sx) {
          r += (from[sx] >> 16) & 0xFF;
          g += (from[sx] >> 8) & 0xFF;
          b += from[sx] & 0xFF;
        }
      }
      const auto n = static_cast<std::uint64_t>(y1 - y0) * static_cast<std::uint64_t>(x1 - x0);
      row[x] = MakeRgb(static_cast<int>((r + n / 2) / n), static_cast<int>((g + n / 2) / n),
                       static_cast<int>((b + n / 2) / n));
    }
  }
  return out;
}

}  // namespace trelvin
