// Qt's key events onto the virtual-key codes the slide show's commands are written against.
#include <gtest/gtest.h>

#include <QKeyEvent>

#include "core/base/VirtualKeys.h"
#include "os/linux/window/QtKeyMap.h"

namespace trelvin {
namespace {

VirtualKey Code(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  const QKeyEvent event(QEvent::KeyPress, key, modifiers);
  return ToVirtualKey(event);
}

TEST(QtKeyMapTest, TheShowsCommandKeysGetTheirCodes) {
  EXPECT_EQ(Code(Qt::Key_PageUp), 33);
  EXPECT_EQ(Code(Qt::Key_PageDown), 34);
  EXPECT_EQ(Code(Qt::Key_Plus, Qt::KeypadModifier), 107);
  EXPECT_EQ(Code(Qt::Key_Minus, Qt::KeypadModifier), 109);
  EXPECT_EQ(Code(Qt::Key_F5), 116);
  EXPECT_EQ(Code(Qt::Key_Space), 32);
  EXPECT_EQ(Code(Qt::Key_Delete), 46);
  EXPECT_EQ(kVkPrior, 33);
  EXPECT_EQ(kVkNext, 34);
  EXPECT_EQ(kVkAdd, 107);
  EXPECT_EQ(kVkSubtract, 109);
  EXPECT_EQ(kVkF5, 116);
  EXPECT_EQ(kVkSpace, 32);
  EXPECT_EQ(kVkDelete, 46);
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

TEST(QtKeyMapTest, ShiftOrCtrlPressedAloneHaveTheirOwnCodes) {
  // Pressed alone, the key event carries its own modifier.
  EXPECT_EQ(Code(Qt::Key_Shift, Qt::ShiftModifier), 16);
  EXPECT_EQ(Code(Qt::Key_Control, Qt::ControlModifier), 17);
  EXPECT_EQ(Code(Qt::Key_Alt, Qt::AltModifier), 18);
}

TEST(QtKeyMapTest, MainKeyboardPlusAndMinusAreNotTheKeypadOnes) {
  EXPECT_NE(Code(Qt::Key_Plus), kVkAdd);
  EXPECT_NE(Code(Qt::Key_Minus), kVkSubtract);
  EXPECT_EQ(Code(Qt::Key_5, Qt::KeypadModifier), 101);
  EXPECT_EQ(Code(Qt::Key_5), 53);
}

TEST(QtKeyMapTest, KeysWithoutACodeMatchNoCommand) {
  EXPECT_EQ(Code(Qt::Key_VolumeUp), kVkNone);
  EXPECT_EQ(Code(Qt::Key_Adiaeresis), kVkNone);
}

}  // namespace
}  // namespace trelvin
