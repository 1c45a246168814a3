#pragma once

#include "core/base/Bitmap.h"

namespace trelvin {

// A pixel differs when one of its channels moves by more than this.
constexpr int kChannelTolerance = 8;

// True when `grab` shows the same screen as `last`: both the same size, and fewer than one pixel in
// a thousand differs. Noise (a blinking cursor, a clock's seconds, dithering) thus counts as
// unchanged, a moving game does not.
bool SameScreen(const Bitmap& last, const Bitmap& grab);

}  // namespace trelvin
