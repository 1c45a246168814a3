// The canvas's BMP encoding.
#include <gtest/gtest.h>

#include "core/base/BmpFile.h"

namespace trelvin {
namespace {

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

TEST(BmpFileTest, HeadersRowsBottomUpAndPadding) {
  Bitmap image;
  image.Resize(3, 2, MakeRgb(0, 0, 0));
  image.Row(0)[0] = MakeRgb(0x11, 0x22, 0x33);  // top-left
  image.Row(1)[2] = MakeRgb(0xAA, 0xBB, 0xCC);  // bottom-right
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
  // The first row in the file is the bottom one: its last pixel is B, G, R of bottom-right.
  EXPECT_EQ(bmp[54 + 6], 0xCC);
  EXPECT_EQ(bmp[54 + 7], 0xBB);
  EXPECT_EQ(bmp[54 + 8], 0xAA);
  EXPECT_EQ(bmp[54 + 9] | bmp[54 + 10] | bmp[54 + 11], 0);  // padding
  EXPECT_EQ(bmp[66 + 0], 0x33);
  EXPECT_EQ(bmp[66 + 1], 0x22);
  EXPECT_EQ(bmp[66 + 2], 0x11);
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

TEST(BmpFileTest, EmptyImageGivesHeadersOnly) {
  Bitmap image;
  EXPECT_EQ(EncodeBmp24(image).size(), 54u);
}

}  // namespace
}  // namespace trelvin
