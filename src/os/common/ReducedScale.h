#pragma once

#include "core/base/Types.h"

namespace trelvin {

// The size a JPEG decoder's own reduction (1/2, 1/4 or 1/8, each side rounded up) gives for a
// picture of `natural` size shown at `display` size: the smallest that still covers the display,
// or `natural` when no reduction does. Any other size would be decoded larger and scaled, which
// costs more than decoding the whole picture.
inline Size ReducedJpegSize(Size natural, Size display) {
  for (int eighths : {1, 2, 4}) {
    const long long w = (static_cast<long long>(natural.width) * eighths + 7) / 8;
    const long long h = (static_cast<long long>(natural.height) * eighths + 7) / 8;
    if (w >= display.width && h >= display.height) {
      return {static_cast<int>(w), static_cast<int>(h)};
    }
  }
  return natural;
}

}  // namespace trelvin
