#pragma once

#include <memory>
#include <string>

#include "core/base/Picture.h"
#include "core/base/Types.h"

namespace trelvin {

// Loading and saving pictures.
class Pictures {
 public:
  virtual ~Pictures() = default;
  // Decodes the JPEG, GIF, PNG, BMP or WebP file (a GIF's first frame; a JPEG turned upright by
  // its EXIF orientation, whose size is then the upright one); nullptr when it cannot be loaded.
  // `display_size` is the size the picture will be shown at when stretched (empty when shown at
  // natural size): a decoder may decode at a reduced scale that still covers it. The picture
  // prepared ahead for the same path and size is returned at once when the file is unchanged.
  virtual std::shared_ptr<const Picture> LoadPicture(const std::string& path,
                                                     Size display_size) = 0;
  // Starts decoding the file for `display_size` (as LoadPicture takes it) on a worker, so that
  // LoadPicture of it soon after is quick; replaces what was prepared before. Returns at once.
  virtual void PreparePicture(const std::string& path, Size display_size) = 0;
  // Releases the picture prepared ahead, if any.
  virtual void DropPreparedPicture() = 0;
  // Writes the picture as a Windows bitmap file, replacing an old one; false on failure.
  virtual bool SavePicture(const Picture& picture, const std::string& path) = 0;
};

}  // namespace trelvin
