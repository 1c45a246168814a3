#pragma once

#include <memory>
#include <string>

#include "core/base/Bitmap.h"
#include "core/base/PictureLookAhead.h"
#include "core/services/Pictures.h"
#include "os/windows/desktop/WicPicture.h"

namespace trelvin {

// JPEG, GIF, PNG, BMP and WebP pictures through the system's WIC decoders (WebP where the system
// has its codec). A stretched JPEG larger than the screen is decoded at a reduced scale where the
// decoder offers one; a JPEG is turned upright by its EXIF orientation. The calling thread must
// have COM initialised; the look-ahead's worker initialises it for itself.
class WicPictures : public Pictures {
 public:
  WicPictures();

  // Decoded pictures above this size fail like a damaged file: a small file can claim a huge one.
  static constexpr long long kMaxDecodedBytes = 256LL * 1024 * 1024;

  std::shared_ptr<const Picture> LoadPicture(const std::string& path, Size display_size) override;
  void PreparePicture(const std::string& path, Size display_size) override;
  void DropPreparedPicture() override;
  bool SavePicture(const Picture& picture, const std::string& path) override;

  // Every pixel of the picture: the held ones, or the file decoded again when they were reduced.
  static Bitmap FullPixels(const WicPicture& picture);

 private:
  PictureLookAhead look_ahead_;
};

}  // namespace trelvin
