#pragma once

#include <cstdint>
#include <vector>

#include "core/base/Types.h"

namespace trelvin {

// A plain pixel image: rows top-down, each pixel 0x00RRGGBB.
struct Bitmap {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  void Resize(int new_width, int new_height, Rgb fill);
  void Fill(Rgb colour);
  std::uint32_t* Row(int y) { return pixels.data() + static_cast<std::size_t>(y) * width; }
  const std::uint32_t* Row(int y) const {
    return pixels.data() + static_cast<std::size_t>(y) * width;
  }
};

// Pixels held elsewhere, looked at without a copy: rows `stride` words apart, each pixel
// 0x??RRGGBB (the top byte means nothing).
struct PixelView {
  const std::uint32_t* pixels = nullptr;
  std::size_t stride = 0;
  int width = 0;
  int height = 0;
  const std::uint32_t* Row(int y) const { return pixels + static_cast<std::size_t>(y) * stride; }
};

}  // namespace trelvin
