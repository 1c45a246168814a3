#pragma once

#include <string>
#include <utility>

#include "core/base/Bitmap.h"
#include "core/base/Picture.h"

namespace trelvin {

// A picture decoded through WIC: 32-bit pixels, rows top-down, the layout of a top-down BI_RGB DIB.
// A stretched JPEG may hold fewer pixels than its natural size (decoded at a reduced scale).
class WicPicture : public Picture {
 public:
  WicPicture(Bitmap pixels, Size natural, std::string source)
      : pixels_(std::move(pixels)), natural_(natural), source_(std::move(source)) {}

  Size PixelSize() const override { return natural_; }
  const Bitmap& pixels() const { return pixels_; }
  const std::string& source() const { return source_; }
  bool Reduced() const {
    return pixels_.width != natural_.width || pixels_.height != natural_.height;
  }

 private:
  Bitmap pixels_;
  Size natural_;
  std::string source_;
};

}  // namespace trelvin
