#pragma once

#include "core/services/MessageBox.h"

namespace trelvin {

// Message boxes with MessageBoxW, owned by the thread's active window.
class WinMessageBox : public MessageBox {
 public:
  int MsgBox(const std::string& text, int style, const std::string& caption) override;
};

}  // namespace trelvin
