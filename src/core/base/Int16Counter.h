#pragma once

#include <cstdint>
#include <limits>

#include "core/base/Guard.h"

namespace trelvin {

// 16-bit arithmetic as the forms' counters hold it: an increment that would overflow fails the
// current step and leaves the counter as it is, instead of wrapping.
inline void IncrementInt16(std::int16_t& value) {
  Require(value < std::numeric_limits<std::int16_t>::max());
  ++value;
}

}  // namespace trelvin
