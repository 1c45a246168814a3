#pragma once

#include <QImage>

#include "platform/Picture.h"

namespace trelvin {

// A picture decoded by Qt. `natural` is the file's own size; `image` may be decoded at a reduced
// scale, and is then drawn scaled up to the natural size (or stretched).
class QtPicture : public Picture {
 public:
  QtPicture(QImage image, Size natural) : image_(std::move(image)), natural_(natural) {}
  explicit QtPicture(QImage image)
      : image_(std::move(image)), natural_{image_.width(), image_.height()} {}

  Size PixelSize() const override { return natural_; }
  const QImage& image() const { return image_; }

 private:
  QImage image_;
  Size natural_;
};

}  // namespace trelvin
