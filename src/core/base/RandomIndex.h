#pragma once

#include <cmath>
#include <cstdint>

namespace trelvin {

// The whole part of r * count in single precision, for a draw 0 <= r < 1 of Random::Next. The
// product can round up to `count` itself for a draw just below 1; callers fold an index past the
// end back to the first entry.
inline std::int16_t RandomIndex(float r, std::int16_t count) {
  return static_cast<std::int16_t>(std::floor(r * static_cast<float>(count)));
}

}  // namespace trelvin
