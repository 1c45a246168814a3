#include "os/windows/window/WinMessageBox.h"

#include "os/windows/WinApi.h"

#include "os/windows/WinText.h"

namespace trelvin {

int WinMessageBox::MsgBox(const std::string& text, int style, const std::string& caption) {
  HWND owner = GetActiveWindow();
  const int pressed = MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(),
                                  static_cast<UINT>(style) | MB_SETFOREGROUND);
  // A question is answered Yes only by Yes: Escape or closing the box (which Wine allows even
  // without a Cancel button) is No.
  if ((style & 0xF) == kMbYesNo) return pressed == IDYES ? kIdYes : kIdNo;
  return kIdOk;
}

}  // namespace trelvin
