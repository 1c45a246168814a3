#pragma once

#include <cstdint>

namespace trelvin {

// The shift state of the keyboard as the forms see it: 1 Shift, 2 Ctrl, 4 Alt, added up.
std::int16_t ShiftState();

}  // namespace trelvin
