#include "os/linux/window/QtKeyMap.h"

#include <QKeyEvent>

#include "core/base/VirtualKeys.h"
#include "core/runtime/FormRules.h"

namespace trelvin {

namespace {

VirtualKey Offset(VirtualKey first, int steps) { return static_cast<VirtualKey>(first + steps); }

}  // namespace

std::int16_t ToVirtualKey(const QKeyEvent& event) {
  const int key = event.key();
  const bool keypad = event.modifiers() & Qt::KeypadModifier;
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return Offset(kVkA, key - Qt::Key_A);
  if (key >= Qt::Key_0 && key <= Qt::Key_9) {
    return Offset(keypad ? kVkNumpad0 : kVk0, key - Qt::Key_0);
  }
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return Offset(kVkF1, key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Backspace:
      return kVkBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return kVkTab;
    case Qt::Key_Clear:
      return kVkClear;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return kVkReturn;
    case Qt::Key_Shift:
      return kVkShift;
    case Qt::Key_Control:
      return kVkControl;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
      return kVkMenu;
    case Qt::Key_Pause:
      return kVkPause;
    case Qt::Key_CapsLock:
      return kVkCapital;
    case Qt::Key_Escape:
      return kVkEscape;
    case Qt::Key_Space:
      return kVkSpace;
    case Qt::Key_PageUp:
      return kVkPrior;
    case Qt::Key_PageDown:
      return kVkNext;
    case Qt::Key_End:
      return kVkEnd;
    case Qt::Key_Home:
      return kVkHome;
    case Qt::Key_Left:
      return kVkLeft;
    case Qt::Key_Up:
      return kVkUp;
    case Qt::Key_Right:
      return kVkRight;
    case Qt::Key_Down:
      return kVkDown;
    case Qt::Key_Print:
      return kVkSnapshot;
    case Qt::Key_Insert:
      return kVkInsert;
    case Qt::Key_Delete:
      return kVkDelete;
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
      return kVkLWin;
    case Qt::Key_Super_R:
      return kVkRWin;
    case Qt::Key_Menu:
      return kVkApps;
    case Qt::Key_Asterisk:
      return keypad ? kVkMultiply : kVkNone;
    case Qt::Key_Plus:
      return keypad ? kVkAdd : kVkOemPlus;
    case Qt::Key_Minus:
      return keypad ? kVkSubtract : kVkOemMinus;
    case Qt::Key_Period:
      return keypad ? kVkDecimal : kVkOemPeriod;
    case Qt::Key_Slash:
      return keypad ? kVkDivide : kVkOem2;
    case Qt::Key_Comma:
      return kVkOemComma;
    case Qt::Key_NumLock:
      return kVkNumLock;
    case Qt::Key_ScrollLock:
      return kVkScroll;
    default:
      return kVkNone;
  }
}

std::int16_t ToShiftState(Qt::KeyboardModifiers modifiers) {
  return ShiftState(modifiers.testFlag(Qt::ShiftModifier), modifiers.testFlag(Qt::ControlModifier),
                    modifiers.testFlag(Qt::AltModifier));
}

}  // namespace trelvin
