#pragma once

#include <memory>
#include <string>

#include <QImage>
#include <QObject>

#include "core/services/PictureLookAhead.h"
#include "os/linux/desktop/QtPicture.h"

namespace trelvin {

// JPEG, GIF, PNG, BMP and WebP pictures through Qt's image readers (WebP through the image-format
// plugins). A stretched JPEG larger than the screen is decoded at the smallest eighth-scale that
// still covers the screen. A picture prepared ahead is already scaled to the display size, so
// that the picture control copies it pixel for pixel. That decode starts once the window has drawn
// the change that asked for it.
class QtPictures : public PictureLookAhead {
 public:
  QtPictures();
  ~QtPictures() override;

  bool SavePicture(const Picture& picture, const std::string& path) override;

  // Every pixel of the picture: the held image, or the file decoded again when it was reduced.
  static QImage FullImage(const QtPicture& picture);

 private:
  // Runs the look-ahead's releases on the interface thread, behind the window's pending paint.
  std::unique_ptr<QObject> after_draw_;
};

}  // namespace trelvin
