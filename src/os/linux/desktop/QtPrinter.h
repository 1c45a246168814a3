#pragma once

#include <memory>
#include <optional>

#include <QPainter>
#include <QPrinter>

#include "core/services/Printer.h"

namespace trelvin {

// The default CUPS destination through Qt's print support. The document begins with the first
// drawing and is sent by EndDoc; without a default printer every call fails.
class QtPrinter : public Printer {
 public:
  QtPrinter();
  ~QtPrinter() override;

  std::optional<Size> PageSize() override;
  bool PaintPicture(const Picture& picture, int x, int y) override;
  bool EndDoc() override;

 private:
  // The printer object for the current default destination, or nullptr when there is none.
  QPrinter* Device();

  std::unique_ptr<QPrinter> printer_;
  std::unique_ptr<QPainter> painter_;
};

}  // namespace trelvin
