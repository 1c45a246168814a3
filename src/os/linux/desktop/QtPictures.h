#pragma once

#include <memory>
#include <string>

#include <QImage>

#include "core/services/PictureLookAhead.h"
#include "os/linux/desktop/QtPicture.h"

namespace trelvin {

// JPEG, GIF, PNG, BMP and WebP pictures through Qt's image readers (WebP through the image-format
// plugins). A stretched JPEG larger than the screen is decoded at the smallest eighth-scale that
// still covers the screen. A picture prepared ahead is already scaled to the display size, so
// that the picture control copies it pixel for pixel.
class QtPictures : public PictureLookAhead {
 public:
  QtPictures();

  bool SavePicture(const Picture& picture, const std::string& path) override;

  // Every pixel of the picture: the held image, or the file decoded again when it was reduced.
  static QImage FullImage(const QtPicture& picture);
};

}  // namespace trelvin
