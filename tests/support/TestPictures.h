#pragma once

// Pictures made on the spot: easy to compare after lossy compression, 32-bit bitmaps in the
// layouts the converter reads, and GIF files whose header may lie.
#include <cstdint>
#include <vector>

#include "core/base/Bitmap.h"

namespace trelvin::test_support {

inline void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Blocks of solid colour with a gradient band: easy to compare after lossy compression.
inline Bitmap TestPicture(int width, int height) {
  Bitmap image;
  image.Resize(width, height, 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int block = (x / 16 + y / 16) % 4;
      const Rgb colours[4] = {MakeRgb(220, 30, 30), MakeRgb(30, 200, 40), MakeRgb(20, 40, 230),
                              MakeRgb(x * 255 / width, 128, y * 255 / height)};
      image.Row(y)[x] = colours[block];
    }
  }
  return image;
}

// A 32-bit BMP of `image`, bottom-up or top-down, plain or with bit fields for R, G, B, X bytes.
inline std::vector<std::uint8_t> Bmp32(const Bitmap& image, bool top_down, bool rgbx_fields) {
  const std::size_t header = rgbx_fields ? 14 + 40 + 12 : 14 + 40;
  std::vector<std::uint8_t> b(header + static_cast<std::size_t>(image.width) * image.height * 4);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, static_cast<std::uint32_t>(b.size()));
  Put32(b, 10, static_cast<std::uint32_t>(header));
  Put32(b, 14, 40);
  Put32(b, 18, static_cast<std::uint32_t>(image.width));
  Put32(b, 22, static_cast<std::uint32_t>(top_down ? -image.height : image.height));
  b[26] = 1;
  b[28] = 32;
  if (rgbx_fields) {
    b[30] = 3;
    Put32(b, 54, 0x000000FF);
    Put32(b, 58, 0x0000FF00);
    Put32(b, 62, 0x00FF0000);
  }
  for (int y = 0; y < image.height; ++y) {
    const int file_row = top_down ? y : image.height - 1 - y;
    for (int x = 0; x < image.width; ++x) {
      const Rgb p = image.Row(y)[x];
      std::uint8_t* d =
          b.data() + header + (static_cast<std::size_t>(file_row) * image.width + x) * 4;
      const std::uint8_t r = p >> 16 & 0xFF, g = p >> 8 & 0xFF, bl = p & 0xFF;
      if (rgbx_fields) {
        d[0] = r, d[1] = g, d[2] = bl, d[3] = 0x77;
      } else {
        d[0] = bl, d[1] = g, d[2] = r, d[3] = 0x77;
      }
    }
  }
  return b;
}

// An 8 x 8 green WebP (lossless), as an image tool writes it.
inline const std::vector<std::uint8_t> kGreenWebp{
    0x52, 0x49, 0x46, 0x46, 0x1c, 0x00, 0x00, 0x00, 0x57, 0x45, 0x42, 0x50,
    0x56, 0x50, 0x38, 0x4c, 0x0f, 0x00, 0x00, 0x00, 0x2f, 0x07, 0xc0, 0x01,
    0x00, 0x07, 0xd0, 0xff, 0x88, 0xfe, 0x07, 0x22, 0xa2, 0xff, 0x01, 0x00};

// A one-pixel GIF whose pixel is `colour`, with the screen and the frame descriptor claiming
// `width` x `height` (a hostile header, a decompression bomb, when they are large).
inline std::vector<std::uint8_t> OnePixelGif(Rgb colour, int width = 1, int height = 1) {
  const auto lo = [](int v) { return static_cast<std::uint8_t>(v & 0xFF); };
  const auto hi = [](int v) { return static_cast<std::uint8_t>((v >> 8) & 0xFF); };
  return {'G', 'I', 'F', '8', '9', 'a', lo(width), hi(width), lo(height), hi(height), 0x80, 0,
          0,  // a global table of two colours
          static_cast<std::uint8_t>(colour >> 16), static_cast<std::uint8_t>(colour >> 8),
          static_cast<std::uint8_t>(colour), 0, 0, 0, ',', 0, 0, 0, 0, lo(width), hi(width),
          lo(height), hi(height), 0,
          // LZW, minimum code size 2: clear, index 0, end
          0x02, 0x02, 0x44, 0x01, 0x00, ';'};
}

}  // namespace trelvin::test_support
