// The slide show's surface drawn into a screen-sized bitmap: the picture at natural size in its
// centred place, stretched over everything, and the background only where the picture is not.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include "os/windows/window/WinShowPainter.h"

namespace trelvin {
namespace {

constexpr Rgb kBackground = MakeRgb(0, 0, 64);
constexpr Rgb kRed = MakeRgb(255, 0, 0);

class ShowPainterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ =
        CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    ASSERT_NE(bitmap_, nullptr);
    old_ = SelectObject(dc_, bitmap_);
    // Something that is neither colour, to see what was not painted.
    for (int i = 0; i < kWidth * kHeight; ++i) bits_[i] = 0x00123456;
  }
  void TearDown() override {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }

  static std::unique_ptr<WicPicture> Solid(int width, int height, Rgb colour) {
    Bitmap pixels;
    pixels.Resize(width, height, colour);
    return std::make_unique<WicPicture>(std::move(pixels), Size{width, height}, "solid");
  }
  void Paint(const WicPicture* picture, Rect place) {
    const RECT client{0, 0, kWidth, kHeight};
    PaintShow(dc_, client, picture, place, kBackground);
    GdiFlush();
  }
  Rgb At(int x, int y) const { return bits_[y * kWidth + x] & 0xFFFFFF; }

  static constexpr int kWidth = 1024;
  static constexpr int kHeight = 768;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

TEST_F(ShowPainterTest, ANaturalSizePictureLiesInItsPlaceOnTheBackground) {
  const auto picture = Solid(320, 200, kRed);
  Paint(picture.get(), {352, 284, 320, 200});
  EXPECT_EQ(At(352, 284), kRed);
  EXPECT_EQ(At(671, 483), kRed);
  EXPECT_EQ(At(351, 284), kBackground);
  EXPECT_EQ(At(352, 283), kBackground);
  EXPECT_EQ(At(672, 483), kBackground);
  EXPECT_EQ(At(671, 484), kBackground);
  EXPECT_EQ(At(0, 0), kBackground);
  EXPECT_EQ(At(1023, 767), kBackground);
}

// Each paint covers the whole surface: stretched, clipped (a picture larger than the screen is
// cut, not wrapped), or the background only.
TEST_F(ShowPainterTest, StretchedClippedOrWithoutAPictureThePaintCoversTheWholeScreen) {
  const auto picture = Solid(320, 200, kRed);
  Paint(picture.get(), {0, 0, kWidth, kHeight});
  for (auto [x, y] : {std::pair{0, 0}, {1023, 0}, {0, 767}, {1023, 767}, {512, 384}}) {
    EXPECT_EQ(At(x, y), kRed) << x << "," << y;
  }
  Bitmap pixels;
  pixels.Resize(2000, 1000, kRed);
  pixels.Row(0)[0] = MakeRgb(0, 255, 0);  // the top-left corner, off the screen
  const WicPicture large(std::move(pixels), Size{2000, 1000}, "big");
  Paint(&large, {-488, -116, 2000, 1000});
  EXPECT_EQ(At(0, 0), kRed);
  EXPECT_EQ(At(1023, 767), kRed);
  Paint(nullptr, {352, 284, 320, 200});
  EXPECT_EQ(At(0, 0), kBackground);
  EXPECT_EQ(At(400, 300), kBackground);
  EXPECT_EQ(At(1023, 767), kBackground);
}

}  // namespace
}  // namespace trelvin
