#pragma once

#include <memory>
#include <string>

#include "core/controls/Bitmap.h"
#include "core/services/Pictures.h"
#include "os/windows/desktop/WicPicture.h"

namespace trelvin {

// JPEG and GIF pictures (also BMP and PNG) through the system's WIC decoders. A stretched JPEG
// larger than the screen is decoded at a reduced scale where the decoder offers one. The calling
// thread must have COM initialised.
class WicPictures : public Pictures {
 public:
  // Decoded pictures above this size fail like a damaged file: a small file can claim a huge one.
  static constexpr long long kMaxDecodedBytes = 256LL * 1024 * 1024;

  std::shared_ptr<const Picture> LoadPicture(const std::string& path, Size display_size) override;
  bool SavePicture(const Picture& picture, const std::string& path) override;

  // Every pixel of the picture: the held ones, or the file decoded again when they were reduced.
  static Bitmap FullPixels(const WicPicture& picture);
};

}  // namespace trelvin
