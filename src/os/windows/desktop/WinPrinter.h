#pragma once

#include <windows.h>

#include <optional>

#include "core/services/Printer.h"

namespace trelvin {

// The default printer through GDI. The document begins with the first drawing and is sent by
// EndDoc; without a default printer every call fails. Positions are measured from the sheet's
// corner; the page is the whole sheet.
class WinPrinter : public Printer {
 public:
  WinPrinter() = default;
  ~WinPrinter() override;
  WinPrinter(const WinPrinter&) = delete;
  WinPrinter& operator=(const WinPrinter&) = delete;

  std::optional<Size> PageSize() override;
  bool PaintPicture(const Picture& picture, int x, int y) override;
  bool EndDoc() override;

 private:
  // The device context of the current default printer, or nullptr when there is none.
  HDC Device();
  void Release();

  HDC dc_ = nullptr;
  bool in_document_ = false;
};

}  // namespace trelvin
