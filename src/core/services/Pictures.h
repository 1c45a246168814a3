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
  // Decodes the JPEG or GIF file (a GIF's first frame); nullptr when it cannot be loaded.
  // `display_size` is the size the picture will be shown at when stretched (empty when shown at
  // natural size): a decoder may decode at a reduced scale that still covers it.
  virtual std::shared_ptr<const Picture> LoadPicture(const std::string& path,
                                                     Size display_size) = 0;
  // Writes the picture as a Windows bitmap file, replacing an old one; false on failure.
  virtual bool SavePicture(const Picture& picture, const std::string& path) = 0;
};

}  // namespace trelvin
