#include "core/base/Bitmap.h"

#include <algorithm>

namespace trelvin {

void Bitmap::Resize(int new_width, int new_height, Rgb fill) {
  width = std::max(new_width, 0);
  height = std::max(new_height, 0);
  pixels.assign(static_cast<std::size_t>(width) * height, fill);
}

void Bitmap::Fill(Rgb colour) { std::fill(pixels.begin(), pixels.end(), colour); }

}  // namespace trelvin
