// The pictures service's conformance driver for Qt: pictures encoded by Qt's own writers.
#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPainter>

#include "conformance/PicturesDriver.h"
#include "os/linux/desktop/QtPicture.h"
#include "os/linux/desktop/QtPictures.h"

namespace trelvin::conformance {
namespace {

QColor ToQt(Rgb colour) { return QColor(colour >> 16 & 0xFF, colour >> 8 & 0xFF, colour & 0xFF); }

}  // namespace

const bool kMayLackWebp = false;

std::unique_ptr<Pictures> MakePictures() { return std::make_unique<QtPictures>(); }

std::vector<std::uint8_t> Encode(PictureFormat format, int width, int height, Rgb left, Rgb right) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(ToQt(right));
  QPainter(&image).fillRect(0, 0, width / 2, height, ToQt(left));
  const char* name = format == PictureFormat::kPng   ? "PNG"
                     : format == PictureFormat::kBmp ? "BMP"
                                                     : "JPEG";
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, name, 95)) return {};
  return {bytes.begin(), bytes.end()};
}

Bitmap Shown(const Picture& picture) {
  const QImage image =
      dynamic_cast<const QtPicture&>(picture).image().convertToFormat(QImage::Format_RGB32);
  Bitmap pixels;
  pixels.Resize(image.width(), image.height(), 0);
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) pixels.Row(y)[x] = row[x] & 0xFFFFFF;
  }
  return pixels;
}

bool Reduced(const Picture& picture) { return dynamic_cast<const QtPicture&>(picture).Reduced(); }

}  // namespace trelvin::conformance
