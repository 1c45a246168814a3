#pragma once

#include "core/base/Types.h"

namespace trelvin {

// A decoded picture as the platform's picture service holds it.
class Picture {
 public:
  virtual ~Picture() = default;
  // The picture's natural size in pixels.
  virtual Size PixelSize() const = 0;
};

}  // namespace trelvin
