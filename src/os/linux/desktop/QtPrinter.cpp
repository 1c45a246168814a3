#include "os/linux/desktop/QtPrinter.h"

#include <QPageLayout>
#include <QPrinterInfo>

#include "os/linux/desktop/QtPicture.h"
#include "os/linux/desktop/QtPictures.h"

namespace trelvin {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kTwipsPerPoint = 20.0;

}  // namespace

QtPrinter::QtPrinter() = default;

QtPrinter::~QtPrinter() {
  // A document left open is abandoned, not printed half-drawn.
  if (painter_ && painter_->isActive() && printer_) printer_->abort();
}

QPrinter* QtPrinter::Device() {
  if (printer_) return printer_.get();
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) return nullptr;
  printer_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
  // Positions are measured from the sheet's corner; the page is the whole sheet.
  printer_->setFullPage(true);
  printer_->setDocName("TrelvinShow");
  return printer_.get();
}

std::optional<Size> QtPrinter::PageSize() {
  QPrinter* printer = Device();
  if (!printer) return std::nullopt;
  const QRectF sheet = printer->pageLayout().fullRectPoints();
  return Size{static_cast<int>(sheet.width() * kTwipsPerPoint + 0.5),
              static_cast<int>(sheet.height() * kTwipsPerPoint + 0.5)};
}

bool QtPrinter::PaintPicture(const Picture& picture, int x, int y) {
  const auto* qt_picture = dynamic_cast<const QtPicture*>(&picture);
  if (!qt_picture) return false;
  QPrinter* printer = Device();
  if (!printer) return false;
  if (!painter_) painter_ = std::make_unique<QPainter>();
  if (!painter_->isActive() && !painter_->begin(printer)) return false;
  const QImage image = QtPictures::FullImage(*qt_picture);
  if (image.isNull()) return false;
  // The picture's own size: 15 units of 1/1440 inch per pixel, in the printer's resolution.
  const double dots_per_twip = printer->resolution() / kTwipsPerInch;
  const Size natural = qt_picture->PixelSize();
  const QRectF target(x * dots_per_twip, y * dots_per_twip,
                      natural.width * kTwipsPerPixel * dots_per_twip,
                      natural.height * kTwipsPerPixel * dots_per_twip);
  painter_->setRenderHint(QPainter::SmoothPixmapTransform, true);
  painter_->drawImage(target, image);
  return true;
}

bool QtPrinter::EndDoc() {
  const bool drawn = painter_ && painter_->isActive();
  const bool sent = drawn && painter_->end();
  painter_.reset();
  // The next document goes to whatever is the default destination then.
  printer_.reset();
  return sent;
}

}  // namespace trelvin
