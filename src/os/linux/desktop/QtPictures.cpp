#include "os/linux/desktop/QtPictures.h"

#include <QByteArray>
#include <QImageReader>
#include <QSaveFile>

#include "core/base/ReducedScale.h"

namespace trelvin {

namespace {

bool FitsTheCap(QSize size) {
  return size.isValid() && !size.isEmpty() &&
         static_cast<long long>(size.width()) * size.height() * 4 <= QtPictures::kMaxDecodedBytes;
}

// Decodes the file, reduced for a stretched `display` size (empty: at its own size); a null image
// on any failure.
QImage Decode(const std::string& path, Size display, Size* natural_out) {
  // Our own cap decides; Qt's smaller default would refuse large pictures below it.
  QImageReader::setAllocationLimit(static_cast<int>(QtPictures::kMaxDecodedBytes >> 20) + 1);
  QImageReader reader(QString::fromStdString(path));
  reader.setDecideFormatFromContent(true);
  reader.setAutoTransform(false);
  const QByteArray format = reader.format();
  if (format != "jpeg" && format != "gif" && format != "bmp" && format != "png") return {};
  const QSize natural = reader.size();
  if (!FitsTheCap(natural)) return {};
  Size decode{natural.width(), natural.height()};
  if (format == "jpeg" && display.width > 0 && display.height > 0) {
    decode = ReducedJpegSize(decode, display);
    if (decode.width != natural.width() || decode.height != natural.height()) {
      reader.setScaledSize(QSize(decode.width, decode.height));
    }
  }
  QImage image = reader.read();
  if (image.isNull()) return {};
  // Qt keeps a GIF's palette; the painter draws 32-bit pixels without converting on every paint.
  if (image.format() != QImage::Format_RGB32 &&
      image.format() != QImage::Format_ARGB32_Premultiplied) {
    image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                          : QImage::Format_RGB32);
  }
  *natural_out = {natural.width(), natural.height()};
  return image;
}

}  // namespace

std::shared_ptr<const Picture> QtPictures::LoadPicture(const std::string& path, Size display_size) {
  Size natural;
  QImage image = Decode(path, display_size, &natural);
  if (image.isNull()) return nullptr;
  return std::make_shared<QtPicture>(std::move(image), natural, path);
}

QImage QtPictures::FullImage(const QtPicture& picture) {
  if (!picture.Reduced()) return picture.image();
  Size natural;
  QImage full = Decode(picture.source(), {}, &natural);
  if (!full.isNull() && natural == picture.PixelSize()) return full;
  // The file changed or went away since: the held pixels, brought to the picture's size.
  const Size size = picture.PixelSize();
  return picture.image().scaled(size.width, size.height, Qt::IgnoreAspectRatio,
                                Qt::SmoothTransformation);
}

bool QtPictures::SavePicture(const Picture& picture, const std::string& path) {
  const auto* qt_picture = dynamic_cast<const QtPicture*>(&picture);
  if (!qt_picture) return false;
  const QImage image = FullImage(*qt_picture);
  if (image.isNull()) return false;
  // 24 bits per pixel, written beside the old file and renamed over it.
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  QSaveFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (!rgb.save(&file, "BMP")) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

}  // namespace trelvin
