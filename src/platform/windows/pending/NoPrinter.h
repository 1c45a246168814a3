#pragma once

#include "platform/services/Printer.h"

namespace trelvin {

// Until printing is wired on this platform: as without a default printer.
class NoPrinter : public Printer {
 public:
  std::optional<Size> PageSize() override { return std::nullopt; }
  bool PaintPicture(const Picture&, int, int) override { return false; }
  bool EndDoc() override { return false; }
};

}  // namespace trelvin
