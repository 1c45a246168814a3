// The sizes read from GIF and JPEG headers before any decoder sees the file.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "core/base/PictureHeader.h"

namespace trelvin {
namespace {

std::optional<Size> Declared(const std::vector<std::uint8_t>& bytes) {
  std::istringstream in(std::string(bytes.begin(), bytes.end()));
  return PictureHeader::DeclaredSize(in);
}

TEST(PictureHeaderTest, AGifDeclaresTheLargerOfItsScreenAndItsFirstFrame) {
  EXPECT_EQ(Declared(test_support::OnePixelGif(0)), (Size{1, 1}));
  auto gif = test_support::OnePixelGif(0, 3, 2);
  // The frame placed at (100, 0) reaches beyond the screen.
  gif[20] = 100;
  EXPECT_EQ(Declared(gif), (Size{103, 2}));
  EXPECT_EQ(Declared(test_support::OnePixelGif(0, 65535, 65535)), (Size{65535, 65535}));
}

TEST(PictureHeaderTest, AGifCutBeforeItsFrameDeclaresNothingUsable) {
  auto gif = test_support::OnePixelGif(0, 40, 30);
  gif.resize(19);
  EXPECT_EQ(Declared(gif), (Size{}));
}

TEST(PictureHeaderTest, AJpegFrameIsFoundBehindOtherSegments) {
  std::vector<std::uint8_t> jpeg = {0xFF, 0xD8, 0xFF, 0xE1, 0x01, 0x02};
  jpeg.insert(jpeg.end(), 0x0100, 0xC0);  // an APP1 segment full of bytes that look like markers
  const std::vector<std::uint8_t> frame = {0xFF, 0xFF, 0xC2, 0x00, 0x11,
                                           0x08, 0x02, 0x58, 0x03, 0x20};  // 800 x 600
  jpeg.insert(jpeg.end(), frame.begin(), frame.end());
  EXPECT_EQ(Declared(jpeg), (Size{800, 600}));
}

TEST(PictureHeaderTest, AJpegWithoutAFrameBeforeItsDataDeclaresNothingUsable) {
  EXPECT_EQ(Declared({0xFF, 0xD8, 0xFF, 0xDA, 0x00, 0x02}), (Size{}));
  EXPECT_EQ(Declared({0xFF, 0xD8, 0xFF, 0xE0, 0x00}), (Size{}));
}

TEST(PictureHeaderTest, OtherFilesAreLeftToTheDecoders) {
  EXPECT_EQ(Declared({'B', 'M', 0, 0, 0, 0}), std::nullopt);
  EXPECT_EQ(Declared({}), std::nullopt);
}

}  // namespace
}  // namespace trelvin
