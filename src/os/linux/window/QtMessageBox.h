#pragma once

#include "core/services/MessageBox.h"

namespace trelvin {

// Modal message boxes through QMessageBox, over the program's active window.
class QtMessageBox : public MessageBox {
 public:
  int MsgBox(const std::string& text, int style, const std::string& caption) override;
};

}  // namespace trelvin
