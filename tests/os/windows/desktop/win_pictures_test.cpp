// The WIC picture loader's own pixels. The rules every pictures service keeps (formats, damaged
// and hostile files, reduced decoding, EXIF, saving) are checked on WIC by
// tests/conformance/pictures_test.cpp.
#include <windows.h>

#include <gtest/gtest.h>
#include <objbase.h>

#include <string>

#include "os/windows/TestFiles.h"
#include "os/windows/desktop/WicPictures.h"

namespace trelvin {
namespace {

using test_support::FreshFolder;
using test_support::SolidJpeg;
using test_support::WriteBytes;

constexpr Rgb kRed = MakeRgb(255, 0, 0);

bool NearlyRed(std::uint32_t pixel) {
  return ((pixel >> 16) & 0xFF) > 230 && ((pixel >> 8) & 0xFF) < 25 && (pixel & 0xFF) < 25;
}

class WicPicturesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    folder_ = FreshFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
  }
  void TearDown() override { CoUninitialize(); }

  const WicPicture* Load(const std::string& name, Size display = {}) {
    held_ = pictures_.LoadPicture(folder_ + name, display);
    return dynamic_cast<const WicPicture*>(held_.get());
  }

  std::string folder_;
  WicPictures pictures_;
  std::shared_ptr<const Picture> held_;
};

TEST_F(WicPicturesTest, JpegDecodesToItsSizeAndColourWithTheSpareByteClear) {
  const auto jpeg = SolidJpeg(320, 200, kRed);
  ASSERT_FALSE(jpeg.empty());
  WriteBytes(folder_ + "red.jpg", jpeg);
  const WicPicture* picture = Load("red.jpg");
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->PixelSize(), (Size{320, 200}));
  EXPECT_FALSE(picture->Reduced());
  ASSERT_EQ(picture->pixels().pixels.size(), 320u * 200u);
  for (std::uint32_t pixel : {picture->pixels().pixels.front(), picture->pixels().pixels.back()}) {
    EXPECT_TRUE(NearlyRed(pixel)) << std::hex << pixel;
    EXPECT_EQ(pixel >> 24, 0u);
  }
}

}  // namespace
}  // namespace trelvin
