// Qt's key events onto the virtual-key codes the slide show's commands are written against.
#include <gtest/gtest.h>

#include <vector>

#include <QKeyEvent>

#include "core/base/VirtualKeys.h"
#include "os/linux/window/QtKeyMap.h"

namespace trelvin {
namespace {

VirtualKey Code(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  const QKeyEvent event(QEvent::KeyPress, key, modifiers);
  return ToVirtualKey(event);
}

// The show's command keys, Shift, Ctrl or Alt pressed alone (the event then carries its own
// modifier), the keypad's keys apart from the main keyboard's; keys without a code match nothing.
TEST(QtKeyMapTest, KeysGetTheirWindowsCodes) {
  struct Case {
    int key;
    Qt::KeyboardModifiers modifiers;
    VirtualKey code;
  };
  const Qt::KeyboardModifiers none = Qt::NoModifier, keypad = Qt::KeypadModifier;
  for (const Case& c :
       {Case{Qt::Key_PageUp, none, 33}, Case{Qt::Key_PageDown, none, 34},
        Case{Qt::Key_Plus, keypad, 107}, Case{Qt::Key_Minus, keypad, 109},
        Case{Qt::Key_F5, none, 116}, Case{Qt::Key_Space, none, 32}, Case{Qt::Key_Delete, none, 46},
        Case{Qt::Key_Shift, Qt::ShiftModifier, 16}, Case{Qt::Key_Control, Qt::ControlModifier, 17},
        Case{Qt::Key_Alt, Qt::AltModifier, 18}, Case{Qt::Key_5, keypad, 101},
        Case{Qt::Key_5, none, 53}, Case{Qt::Key_VolumeUp, none, kVkNone},
        Case{Qt::Key_Adiaeresis, none, kVkNone}}) {
    EXPECT_EQ(Code(c.key, c.modifiers), c.code) << c.key;
  }
  EXPECT_NE(Code(Qt::Key_Plus), kVkAdd);
  EXPECT_NE(Code(Qt::Key_Minus), kVkSubtract);
  EXPECT_EQ(
      (std::vector<VirtualKey>{kVkPrior, kVkNext, kVkAdd, kVkSubtract, kVkF5, kVkSpace, kVkDelete}),
      (std::vector<VirtualKey>{33, 34, 107, 109, 116, 32, 46}));
}

TEST(QtKeyMapTest, LettersAreTheirCapitalsWithOrWithoutShift) {
  for (int key = Qt::Key_A; key <= Qt::Key_Z; ++key) {
    EXPECT_EQ(Code(key), 65 + key - Qt::Key_A);
    EXPECT_EQ(Code(key, Qt::ShiftModifier), 65 + key - Qt::Key_A);
  }
  EXPECT_EQ(Code(Qt::Key_S), kVkS);
  EXPECT_EQ(Code(Qt::Key_M), kVkM);
  EXPECT_EQ(Code(Qt::Key_W), kVkW);
}

}  // namespace
}  // namespace trelvin
