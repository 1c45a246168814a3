// The unchanged-screen test on a grab in memory, before anything is written.
#include "core/capture/ScreenChange.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace trelvin {

namespace {

// Sixteen bytes at a time (four pixels), in the compiler's generic vectors: SSE2 or NEON without
// a line that names either. Plain loops with a branch per channel took 6 ms a 1080p grab.
typedef std::uint8_t Bytes16 __attribute__((vector_size(16)));
typedef std::uint32_t Words4 __attribute__((vector_size(16)));

// How many of the `n` pixels differ: a channel (never the unused top byte) moved by more than
// the tolerance.
std::size_t Differing(const std::uint32_t* a, const std::uint32_t* b, std::size_t n) {
  const Bytes16 tolerance = Bytes16{} + static_cast<std::uint8_t>(kChannelTolerance);
  const Bytes16 channels = {0xFF, 0xFF, 0xFF, 0, 0xFF, 0xFF, 0xFF, 0,
                            0xFF, 0xFF, 0xFF, 0, 0xFF, 0xFF, 0xFF, 0};
  Words4 counts{};
  std::size_t x = 0;
  for (; x + 4 <= n; x += 4) {
    Bytes16 p;
    Bytes16 q;
    std::memcpy(&p, a + x, sizeof p);
    std::memcpy(&q, b + x, sizeof q);
    const Bytes16 moved = (p > q ? p : q) - (p > q ? q : p);
    const Bytes16 over = reinterpret_cast<Bytes16>(moved > tolerance) & channels;
    Words4 pixels;
    std::memcpy(&pixels, &over, sizeof pixels);
    counts -= reinterpret_cast<Words4>(pixels != 0);  // a lane that differs is all ones: -1
  }
  std::size_t total = counts[0] + counts[1] + counts[2] + counts[3];
  for (; x < n; ++x) {
    for (int shift = 0; shift < 24; shift += 8) {
      const int d =
          static_cast<int>((a[x] >> shift) & 0xFF) - static_cast<int>((b[x] >> shift) & 0xFF);
      if (d > kChannelTolerance || d < -kChannelTolerance) {
        ++total;
        break;
      }
    }
  }
  return total;
}

}  // namespace

bool SameScreen(const Bitmap& last, const Bitmap& grab) {
  if (grab.pixels.size() != static_cast<std::size_t>(grab.width) * grab.height) return false;
  return SameScreen(last, PixelView{grab.pixels.data(), static_cast<std::size_t>(grab.width),
                                    grab.width, grab.height});
}

bool SameScreen(const Bitmap& last, const PixelView& grab) {
  if (last.width != grab.width || last.height != grab.height || grab.width <= 0 ||
      grab.height <= 0 || !grab.pixels || grab.stride < static_cast<std::size_t>(grab.width)) {
    return false;
  }
  const std::size_t width = static_cast<std::size_t>(grab.width);
  const std::size_t total = width * static_cast<std::size_t>(grab.height);
  if (last.pixels.size() != total) return false;
  // Unchanged while differing * 1000 < total; counted a row at a time so a changed screen is
  // known early.
  std::size_t differing = 0;
  for (int y = 0; y < grab.height; ++y) {
    differing += Differing(last.Row(y), grab.Row(y), width);
    if (differing * 1000 >= total) return false;
  }
  return true;
}

}  // namespace trelvin
