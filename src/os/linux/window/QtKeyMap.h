#pragma once

#include <cstdint>

#include <Qt>

class QKeyEvent;

namespace trelvin {

// The Windows virtual-key code of a Qt key event; keys without one map to 0, which no command uses.
std::int16_t ToVirtualKey(const QKeyEvent& event);

// The modifiers held down as the Shift argument of the key and mouse handlers (ShiftState).
std::int16_t ToShiftState(Qt::KeyboardModifiers modifiers);

}  // namespace trelvin
