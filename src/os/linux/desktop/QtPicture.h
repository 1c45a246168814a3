#pragma once

#include <string>
#include <utility>

#include <QImage>

#include "core/base/Picture.h"

namespace trelvin {

// A picture decoded by Qt. `natural` is the file's own size; `image` may be decoded at a reduced
// scale, and is then drawn scaled up to the natural size (or stretched). `source` is the file it
// came from, so that the full picture can be decoded again where every pixel counts.
class QtPicture : public Picture {
 public:
  QtPicture(QImage image, Size natural, std::string source = "")
      : image_(std::move(image)), natural_(natural), source_(std::move(source)) {}
  explicit QtPicture(QImage image)
      : image_(std::move(image)), natural_{image_.width(), image_.height()} {}

  Size PixelSize() const override { return natural_; }
  const QImage& image() const { return image_; }
  const std::string& source() const { return source_; }
  // Whether `image` holds fewer pixels than the picture has.
  bool Reduced() const {
    return image_.width() != natural_.width || image_.height() != natural_.height;
  }

 private:
  QImage image_;
  Size natural_;
  std::string source_;
};

}  // namespace trelvin
