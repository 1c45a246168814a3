#pragma once

#include <cstdint>

class QKeyEvent;

namespace trelvin {

// The Windows virtual-key code of a Qt key event; keys without one map to 0, which no command uses.
std::int16_t ToVirtualKey(const QKeyEvent& event);

// The modifier state as a Shift argument: 1 Shift, 2 Ctrl, 4 Alt.
std::int16_t ToShiftState(const QKeyEvent& event);

}  // namespace trelvin
