// The canvas's BMP encoding: its headers, and every pixel bottom-up with zero padding (each
// width up to 9 pixels, so every padding length).
#include <gtest/gtest.h>

#include "core/base/BmpFile.h"

namespace trelvin {
namespace {

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

TEST(BmpFileTest, Headers) {
  Bitmap image;
  image.Resize(3, 2, MakeRgb(0, 0, 0));
  const auto bmp = EncodeBmp24(image);
  // 3 pixels of 3 bytes pad to 12-byte rows.
  ASSERT_EQ(bmp.size(), 54u + 12u * 2u);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  EXPECT_EQ(Le32(bmp, 2), bmp.size());
  EXPECT_EQ(Le32(bmp, 10), 54u);
  EXPECT_EQ(Le32(bmp, 14), 40u);
  EXPECT_EQ(Le32(bmp, 18), 3u);
  EXPECT_EQ(Le32(bmp, 22), 2u);  // positive height: bottom-up
  EXPECT_EQ(bmp[26] | bmp[27] << 8, 1);
  EXPECT_EQ(bmp[28] | bmp[29] << 8, 24);
  EXPECT_EQ(Le32(bmp, 30), 0u);
  EXPECT_EQ(Le32(bmp, 34), 24u);
  // An empty image: the headers only.
  EXPECT_EQ(EncodeBmp24(Bitmap{}).size(), 54u);
}

TEST(BmpFileTest, EveryWidthPacksEachPixelAndKeepsPaddingZero) {
  std::uint32_t seed = 7;
  for (int width = 1; width <= 9; ++width) {
    Bitmap image;
    image.Resize(width, 3, 0);
    for (auto& pixel : image.pixels) {
      seed = seed * 1664525u + 1013904223u;
      pixel = seed >> 8;
    }
    const auto bmp = EncodeBmp24(image);
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    ASSERT_EQ(bmp.size(), 54 + stride * 3) << width;
    for (int y = 0; y < 3; ++y) {
      const std::uint8_t* row = bmp.data() + 54 + stride * static_cast<std::size_t>(2 - y);
      for (int x = 0; x < width; ++x) {
        const std::uint32_t p = image.Row(y)[x];
        EXPECT_EQ(MakeRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]), p)
            << width << ": " << x << "," << y;
      }
      for (std::size_t i = static_cast<std::size_t>(width) * 3; i < stride; ++i) {
        EXPECT_EQ(row[i], 0) << width << ": padding of row " << y;
      }
    }
  }
}

}  // namespace
}  // namespace trelvin
