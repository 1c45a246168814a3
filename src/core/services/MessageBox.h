#pragma once

#include <string>

namespace trelvin {

// The style of a message box is the sum of one value from each group (buttons, icon, default
// button); the values are the Windows ones, so a style reads the same on every platform.
constexpr int kMbOk = 0;
constexpr int kMbYesNo = 4;
constexpr int kMbButtonsMask = 0xF;
constexpr int kMbIconCritical = 16;
constexpr int kMbIconQuestion = 32;
constexpr int kMbIconExclamation = 48;
constexpr int kMbIconInformation = 64;
constexpr int kMbIconMask = 0xF0;
constexpr int kMbDefButton2 = 256;
constexpr int kMbDefButtonMask = 0xF00;
// The button the user pressed.
constexpr int kIdOk = 1;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

// Modal message boxes.
class MessageBox {
 public:
  virtual ~MessageBox() = default;
  // Shows `text` with buttons and icon by `style` and `caption`; the button pressed (kIdYes, ...).
  virtual int MsgBox(const std::string& text, int style, const std::string& caption) = 0;
};

}  // namespace trelvin
