// The unchanged-screen test on a grab in memory, before anything is written.
#include "core/capture/ScreenChange.h"

#include <cstddef>
#include <cstdint>

namespace trelvin {

namespace {

// 1 when any channel of the two pixels moves by more than the tolerance. Branch-free, so the
// compiler can run a row through vector instructions.
inline std::uint32_t Differs(std::uint32_t a, std::uint32_t b) {
  std::uint32_t any = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    any |= static_cast<std::uint32_t>(d > kChannelTolerance || d < -kChannelTolerance);
  }
  return any;
}

}  // namespace

bool SameScreen(const Bitmap& last, const Bitmap& grab) {
  if (last.width != grab.width || last.height != grab.height) return false;
  const std::size_t total = grab.pixels.size();
  if (last.pixels.size() != total || total == 0) return false;
  // Unchanged while differing * 1000 < total; counted a row at a time so a changed screen is
  // known early.
  const std::size_t width = static_cast<std::size_t>(grab.width);
  std::size_t differing = 0;
  for (std::size_t start = 0; start < total; start += width) {
    const std::uint32_t* a = last.pixels.data() + start;
    const std::uint32_t* b = grab.pixels.data() + start;
    std::uint32_t row = 0;
    for (std::size_t x = 0; x < width; ++x) row += Differs(a[x], b[x]);
    differing += row;
    if (differing * 1000 >= total) return false;
  }
  return true;
}

}  // namespace trelvin
