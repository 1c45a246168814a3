#pragma once

#include <memory>
#include <string>

#include "core/base/Bitmap.h"
#include "core/services/PictureLookAhead.h"
#include "os/windows/desktop/WicPicture.h"

namespace trelvin {

// JPEG, GIF, PNG, BMP and WebP pictures through the system's WIC decoders (WebP where the system
// has its codec). A stretched JPEG larger than the screen is decoded at a reduced scale where the
// decoder offers one; a JPEG is turned upright by its EXIF orientation. Each decode has COM for
// its thread, the look-ahead's worker included.
class WicPictures : public PictureLookAhead {
 public:
  WicPictures();

  bool SavePicture(const Picture& picture, const std::string& path) override;

  // Every pixel of the picture: the held ones, or the file decoded again when they were reduced.
  static Bitmap FullPixels(const WicPicture& picture);
};

}  // namespace trelvin
