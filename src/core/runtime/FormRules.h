#pragma once

#include <cstdint>
#include <vector>

#include "core/base/Types.h"
#include "core/controls/Form.h"

namespace trelvin {

// The mouse buttons as Form_MouseDown receives them.
inline constexpr std::int16_t kLeftButton = 1;
inline constexpr std::int16_t kRightButton = 2;
inline constexpr std::int16_t kMiddleButton = 4;

// The Shift argument of the key and mouse handlers for the modifiers held down.
std::int16_t ShiftState(bool shift, bool ctrl, bool alt);

// Whether the timer's handler is due at all: enabled with an interval above 0 (0 stops it).
bool TimerRuns(const Timer& timer);

// The form's controls in tab order: by TabIndex, equal indexes in the order they were added.
std::vector<Control*> TabOrder(const Form& form);

// Whether a control of this kind takes the keyboard focus (buttons, check boxes, scroll bars).
bool TakesFocus(const Control& control);

// The control the focus moves to from `current`, `step` places along the tab order (1 for Tab,
// -1 for Shift+Tab), over the controls that take the focus and are enabled and visible, wrapping
// round; from no such control the first one (the last going back). nullptr when none can.
Control* NextFocus(const Form& form, const Control* current, int step);

// Whether the form covers the primary screen of `primary_size` device pixels: borderless, at
// (0, 0) and exactly that size. Such a form is shown full screen, above the task bar and panels.
bool CoversScreen(const Form& form, Size primary_size);

}  // namespace trelvin
