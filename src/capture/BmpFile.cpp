#include "capture/BmpFile.h"

#include <cstddef>
#include <limits>
#include <stdexcept>

namespace trelvin {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kPixelOffset = kFileHeaderSize + kInfoHeaderSize;

void Put16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::uint8_t* p, std::uint32_t v) {
  Put16(p, v & 0xFFFF);
  Put16(p + 2, v >> 16);
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp24(const Bitmap& image) {
  const std::size_t width = static_cast<std::size_t>(image.width);
  const std::size_t height = static_cast<std::size_t>(image.height);
  const std::size_t stride = (width * 3 + 3) & ~static_cast<std::size_t>(3);
  const std::size_t pixel_bytes = stride * height;
  if (image.width > std::numeric_limits<std::int32_t>::max() / 3 ||
      pixel_bytes > std::numeric_limits<std::uint32_t>::max() - kPixelOffset) {
    throw std::length_error("bitmap too large for a BMP file");
  }
  // Value-initialised, so row padding is zero.
  std::vector<std::uint8_t> file(kPixelOffset + pixel_bytes);
  std::uint8_t* h = file.data();
  h[0] = 'B';
  h[1] = 'M';
  Put32(h + 2, static_cast<std::uint32_t>(file.size()));
  Put32(h + 10, static_cast<std::uint32_t>(kPixelOffset));
  std::uint8_t* info = h + kFileHeaderSize;
  Put32(info, static_cast<std::uint32_t>(kInfoHeaderSize));
  Put32(info + 4, static_cast<std::uint32_t>(width));
  Put32(info + 8, static_cast<std::uint32_t>(height));  // positive: bottom-up rows
  Put16(info + 12, 1);                                  // planes
  Put16(info + 14, 24);                                 // bits per pixel
  Put32(info + 16, 0);                                  // BI_RGB
  Put32(info + 20, static_cast<std::uint32_t>(pixel_bytes));
  Put32(info + 24, 3780);  // 96 dpi in pixels per metre
  Put32(info + 28, 3780);

  // The capture's hot loop: one pass from 0x00RRGGBB words to B, G, R bytes.
  for (std::size_t y = 0; y < height; ++y) {
    const std::uint32_t* src = image.Row(static_cast<int>(y));
    std::uint8_t* dst = file.data() + kPixelOffset + (height - 1 - y) * stride;
    for (std::size_t x = 0; x < width; ++x) {
      const std::uint32_t p = src[x];
      dst[0] = static_cast<std::uint8_t>(p);
      dst[1] = static_cast<std::uint8_t>(p >> 8);
      dst[2] = static_cast<std::uint8_t>(p >> 16);
      dst += 3;
    }
  }
  return file;
}

}  // namespace trelvin
