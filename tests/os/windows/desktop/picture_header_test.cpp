// The sizes read from picture headers before any decoder sees the file.
#include <windows.h>

#include <gtest/gtest.h>
#include <objbase.h>

#include <sstream>
#include <string>
#include <vector>

#include "os/common/PictureHeader.h"
#include "os/windows/TestFiles.h"

namespace trelvin {
namespace {

std::optional<Size> Declared(const std::vector<std::uint8_t>& bytes) {
  std::istringstream in(std::string(bytes.begin(), bytes.end()));
  return PictureHeader::DeclaredSize(in);
}

TEST(PictureHeaderTest, AGifDeclaresTheLargerOfItsScreenAndItsFirstFrameOrNothingCutShort) {
  EXPECT_EQ(Declared(test_support::OnePixelGif(0)), (Size{1, 1}));
  auto gif = test_support::OnePixelGif(0, 3, 2);
  // The frame placed at (100, 0) reaches beyond the screen.
  gif[20] = 100;
  EXPECT_EQ(Declared(gif), (Size{103, 2}));
  EXPECT_EQ(Declared(test_support::OnePixelGif(0, 65535, 65535)), (Size{65535, 65535}));
  gif.resize(19);  // cut before its frame: nothing usable
  EXPECT_EQ(Declared(gif), (Size{}));
}

TEST(PictureHeaderTest, AJpegFrameIsFoundBehindOtherSegmentsAndBeforeItsDataOnly) {
  std::vector<std::uint8_t> jpeg = {0xFF, 0xD8, 0xFF, 0xE1, 0x01, 0x02};
  jpeg.insert(jpeg.end(), 0x0100, 0xC0);  // an APP1 segment full of bytes that look like markers
  const std::vector<std::uint8_t> frame = {0xFF, 0xFF, 0xC2, 0x00, 0x11,
                                           0x08, 0x02, 0x58, 0x03, 0x20};  // 800 x 600
  jpeg.insert(jpeg.end(), frame.begin(), frame.end());
  EXPECT_EQ(Declared(jpeg), (Size{800, 600}));
  // Without a frame before its data: nothing usable.
  EXPECT_EQ(Declared({0xFF, 0xD8, 0xFF, 0xDA, 0x00, 0x02}), (Size{}));
  EXPECT_EQ(Declared({0xFF, 0xD8, 0xFF, 0xE0, 0x00}), (Size{}));
  // Other files are left to the decoders.
  EXPECT_EQ(Declared({'I', 'I', 42, 0, 8, 0}), std::nullopt);
  EXPECT_EQ(Declared({}), std::nullopt);
}

// The test pictures are encoded through WIC, which needs COM.
class PictureHeaderWicTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  }
  void TearDown() override { CoUninitialize(); }
};

// PNG, BMP (bottom-up and top-down) and the three kinds of WebP stream, whole and cut short.
TEST_F(PictureHeaderWicTest, PngBmpAndWebpDeclareTheirSizes) {
  using test_support::Encoded;
  using test_support::Format;
  auto top_down = Encoded(Format::kBmp, 33, 7, 0, 0);
  ASSERT_GT(top_down.size(), 54u);
  top_down[22] = static_cast<std::uint8_t>(-7), top_down[23] = top_down[24] = top_down[25] = 0xFF;
  const std::vector<std::uint8_t> lossy = {
      'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W',  'E', 'B',  'P',  'V',  'P',  '8',
      ' ', 0,   0,   0,   0, 0, 0, 0, 0x9D, 1,   0x2A, 0x80, 0x07, 0x38, 0x04};  // 1920 x 1080
  std::vector<std::uint8_t> extended = {'R', 'I', 'F',  'F',  0,   0,    0,    0, 'W', 'E', 'B',
                                        'P', 'V', 'P',  '8',  'X', 10,   0,    0, 0,   0,   0,
                                        0,   0,   0xFF, 0xFF, 0,   0x5F, 0xEA, 0};  // 65536 x 60000
  const std::vector<std::uint8_t>& lossless = test_support::kGreenWebp;             // 8 x 8
  EXPECT_EQ(Declared(Encoded(Format::kPng, 40, 30, 0, 0)), (Size{40, 30}));
  EXPECT_EQ(Declared(Encoded(Format::kBmp, 33, 7, 0, 0)), (Size{33, 7}));
  EXPECT_EQ(Declared(top_down), (Size{33, 7}));
  EXPECT_EQ(Declared(lossy), (Size{1920, 1080}));
  EXPECT_EQ(Declared(extended), (Size{65536, 60000}));
  EXPECT_EQ(Declared(lossless), (Size{8, 8}));
  for (auto cut : {Encoded(Format::kPng, 40, 30, 0, 0), top_down, lossless}) {
    cut.resize(20);
    EXPECT_EQ(Declared(cut), (Size{}));
  }
}

}  // namespace
}  // namespace trelvin
