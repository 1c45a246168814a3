#pragma once

#include <cstdint>

namespace trelvin {

// The modifiers held down now, as the Shift argument of the key handlers (core ShiftState).
std::int16_t ShiftState();

}  // namespace trelvin
