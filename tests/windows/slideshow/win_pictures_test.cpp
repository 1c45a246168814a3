// The WIC picture loader on good, damaged and oversized files, and the bitmap it saves.
#include <windows.h>

#include <gtest/gtest.h>
#include <objbase.h>

#include <string>

#include "TestFiles.h"
#include "os/windows/desktop/WicPictures.h"

namespace trelvin {
namespace {

using test_support::FreshFolder;
using test_support::OnePixelGif;
using test_support::ReadBytes;
using test_support::SolidJpeg;
using test_support::WithJpegSize;
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

TEST_F(WicPicturesTest, GifDecodesItsFirstFrame) {
  WriteBytes(folder_ + "one.gif", OnePixelGif(MakeRgb(0, 255, 0)));
  const WicPicture* picture = Load("one.gif");
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->PixelSize(), (Size{1, 1}));
  EXPECT_EQ(picture->pixels().pixels.at(0), MakeRgb(0, 255, 0));
}

TEST_F(WicPicturesTest, ContentDecidesNotTheNameSoAGifNamedJpgLoads) {
  WriteBytes(folder_ + "gif.jpg", OnePixelGif(kRed));
  EXPECT_NE(Load("gif.jpg"), nullptr);
}

TEST_F(WicPicturesTest, DamagedMissingAndEmptyFilesGiveNoPicture) {
  WriteBytes(folder_ + "text.jpg", {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'});
  WriteBytes(folder_ + "empty.gif", {});
  auto gif = OnePixelGif(kRed);
  gif.resize(12);
  WriteBytes(folder_ + "cut.gif", gif);
  EXPECT_EQ(Load("text.jpg"), nullptr);
  EXPECT_EQ(Load("empty.gif"), nullptr);
  EXPECT_EQ(Load("cut.gif"), nullptr);
  EXPECT_EQ(Load("missing.jpg"), nullptr);
}

TEST_F(WicPicturesTest, ATruncatedJpegNeverCrashesAndKeepsItsSizeIfDecoded) {
  auto jpeg = SolidJpeg(64, 64, kRed);
  ASSERT_GT(jpeg.size(), 400u);
  jpeg.resize(jpeg.size() / 2);
  WriteBytes(folder_ + "half.jpg", jpeg);
  const WicPicture* picture = Load("half.jpg");
  if (picture) {
    EXPECT_EQ(picture->pixels().pixels.size(), 64u * 64u);
  }
}

TEST_F(WicPicturesTest, HeadersClaimingHugePicturesAllocateNothingAndFail) {
  WriteBytes(folder_ + "huge.gif", OnePixelGif(kRed, 65535, 65535));
  WriteBytes(folder_ + "huge.jpg", WithJpegSize(SolidJpeg(16, 16, kRed), 65000, 65000));
  EXPECT_EQ(Load("huge.gif"), nullptr);
  EXPECT_EQ(Load("huge.jpg"), nullptr);
}

TEST_F(WicPicturesTest, AStretchedJpegCoversTheScreenAndKeepsItsNaturalSize) {
  WriteBytes(folder_ + "big.jpg", SolidJpeg(2048, 1600, kRed));
  const WicPicture* picture = Load("big.jpg", {1024, 768});
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->PixelSize(), (Size{2048, 1600}));
  // Reduced where the decoder offers it, never below the screen.
  EXPECT_GE(picture->pixels().width, 1024);
  EXPECT_GE(picture->pixels().height, 768);
  EXPECT_EQ(WicPictures::FullPixels(*picture).width, 2048);
}

TEST_F(WicPicturesTest, SavedBitmapIsTheFull24BitPictureAndReplacesAnOldFile) {
  WriteBytes(folder_ + "red.jpg", SolidJpeg(33, 7, kRed));
  WriteBytes(folder_ + "out.bmp", {'o', 'l', 'd'});
  const WicPicture* picture = Load("red.jpg");
  ASSERT_NE(picture, nullptr);
  ASSERT_TRUE(pictures_.SavePicture(*picture, folder_ + "out.bmp"));
  const auto bmp = ReadBytes(folder_ + "out.bmp");
  const std::size_t stride = (33 * 3 + 3) / 4 * 4;
  ASSERT_EQ(bmp.size(), 54 + stride * 7);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[28], 24);       // bits per pixel
  EXPECT_GT(bmp[54 + 2], 230);  // the first pixel's red
  // The saved bitmap loads again at the same size.
  const WicPicture* again = Load("out.bmp");
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->PixelSize(), (Size{33, 7}));
}

TEST_F(WicPicturesTest, SavingIntoAMissingFolderFailsCleanly) {
  WriteBytes(folder_ + "red.jpg", SolidJpeg(8, 8, kRed));
  const WicPicture* picture = Load("red.jpg");
  ASSERT_NE(picture, nullptr);
  EXPECT_FALSE(pictures_.SavePicture(*picture, folder_ + "no\\such\\out.bmp"));
}

}  // namespace
}  // namespace trelvin
