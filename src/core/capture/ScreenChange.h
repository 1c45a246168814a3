#pragma once

#include "core/base/Bitmap.h"

namespace trelvin {

// A pixel differs when one of its channels moves by more than this.
constexpr int kChannelTolerance = 8;

// True when `grab` shows the same screen as `last`: both the same size, and fewer than one pixel in
// a thousand differs. Noise (a blinking cursor, a clock's seconds, dithering) thus counts as
// unchanged, a moving game does not.
bool SameScreen(const Bitmap& last, const Bitmap& grab);
// The same test on pixels looked at where the grab holds them (their top byte is not looked at).
bool SameScreen(const Bitmap& last, const PixelView& grab);

}  // namespace trelvin
