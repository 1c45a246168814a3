#pragma once

#include <string>

namespace trelvin {

constexpr int kMbOk = 0;
constexpr int kMbYesNo = 4;
constexpr int kMbIconQuestion = 32;
constexpr int kMbIconExclamation = 48;
constexpr int kMbIconInformation = 64;
constexpr int kMbDefButton2 = 256;
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
