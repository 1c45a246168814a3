#pragma once

#include <memory>
#include <string>

#include <QImage>

#include "core/base/PictureLookAhead.h"
#include "core/services/Pictures.h"
#include "os/linux/desktop/QtPicture.h"

namespace trelvin {

// JPEG, GIF, PNG, BMP and WebP pictures through Qt's image readers (WebP through the image-format
// plugins). A stretched JPEG larger than the screen is decoded at the smallest eighth-scale that
// still covers the screen. A picture prepared ahead is decoded on a worker and already scaled to
// the display size, so that the picture control copies it pixel for pixel.
class QtPictures : public Pictures {
 public:
  QtPictures();

  // Decoded pictures above this size fail like a damaged file: a small file can claim a huge one.
  static constexpr long long kMaxDecodedBytes = 256LL * 1024 * 1024;

  std::shared_ptr<const Picture> LoadPicture(const std::string& path, Size display_size) override;
  void PreparePicture(const std::string& path, Size display_size) override;
  void DropPreparedPicture() override;
  bool SavePicture(const Picture& picture, const std::string& path) override;

  // Every pixel of the picture: the held image, or the file decoded again when it was reduced.
  static QImage FullImage(const QtPicture& picture);

 private:
  PictureLookAhead look_ahead_;
};

}  // namespace trelvin
