// Reduced decoding of large JPEGs through Qt, to the size ReducedJpegSize gives. The rules every
// pictures service keeps (formats, damaged files, EXIF, saving) are checked on Qt by
// tests/conformance/pictures_test.cpp.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <QColor>
#include <QImage>
#include <QPainter>

#include "os/common/ReducedScale.h"
#include "os/linux/desktop/QtPicture.h"
#include "os/linux/desktop/QtPictures.h"
#include "support/PosixFiles.h"

namespace trelvin {
namespace {

namespace fs = std::filesystem;

class QtPicturesTest : public ::testing::Test {
 protected:
  // A JPEG of coloured blocks, 250 pixels on a side, so that scaling shows where edges went.
  std::string Blocks(int width, int height, const std::string& name) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    for (int y = 0; y < height; y += 250) {
      for (int x = 0; x < width; x += 250) {
        painter.fillRect(x, y, 250, 250,
                         QColor::fromHsv((x / 250 * 47 + y / 250 * 91) % 360, 200, 220));
      }
    }
    painter.end();
    const std::string path = (dir_ / name).string();
    EXPECT_TRUE(image.save(QString::fromStdString(path), "JPEG", 95));
    return path;
  }

  static const QtPicture& AsQt(const std::shared_ptr<const Picture>& picture) {
    return dynamic_cast<const QtPicture&>(*picture);
  }

  test_support::TempDir temp_{"trelvin-pictures"};
  const fs::path dir_ = temp_.path();
  QtPictures pictures_;
};

TEST_F(QtPicturesTest, StretchedLargeJpegDecodesReducedShowingTheSameWithinAPixelOthersWhole) {
  for (Size natural : {Size{4000, 3000}, Size{4001, 3001}}) {
    const std::string path = Blocks(natural.width, natural.height, "big.jpg");
    auto reduced = pictures_.LoadPicture(path, {1920, 1080});
    auto whole = pictures_.LoadPicture(path, {});
    ASSERT_TRUE(reduced && whole);
    EXPECT_EQ(reduced->PixelSize(), natural);
    const Size expected = ReducedJpegSize(natural, {1920, 1080});
    EXPECT_EQ(AsQt(reduced).image().size(), QSize(expected.width, expected.height));
    EXPECT_EQ(AsQt(whole).image().size(), QSize(natural.width, natural.height));

    // Both stretched to the screen as the picture control shows them: away from the block edges
    // the colours agree, so no edge moved by more than a pixel.
    const QImage a =
        AsQt(reduced).image().scaled(1920, 1080, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage b =
        AsQt(whole).image().scaled(1920, 1080, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const double sx = 1920.0 / natural.width, sy = 1080.0 / natural.height;
    int compared = 0;
    for (int y = 0; y < 1080; y += 7) {
      for (int x = 0; x < 1920; x += 7) {
        const double px = x / sx, py = y / sy;
        const double ex = std::fmod(px, 250.0), ey = std::fmod(py, 250.0);
        // Two screen pixels clear of an edge, in picture pixels.
        if (ex < 2 / sx || ex > 250 - 2 / sx || ey < 2 / sy || ey > 250 - 2 / sy) continue;
        const QColor ca = a.pixelColor(x, y), cb = b.pixelColor(x, y);
        ASSERT_LE(std::abs(ca.red() - cb.red()) + std::abs(ca.green() - cb.green()) +
                      std::abs(ca.blue() - cb.blue()),
                  12)
            << x << "," << y;
        ++compared;
      }
    }
    EXPECT_GT(compared, 20000);
  }
  // At its natural size, or stretched but not larger than the screen in height: whole.
  const std::string path = Blocks(2400, 1600, "mid.jpg");
  auto picture = pictures_.LoadPicture(path, {});
  ASSERT_TRUE(picture);
  EXPECT_EQ(AsQt(picture).image().size(), QSize(2400, 1600));
  EXPECT_FALSE(AsQt(picture).Reduced());
  auto stretched = pictures_.LoadPicture(path, {1920, 1600});
  EXPECT_EQ(AsQt(stretched).image().size(), QSize(2400, 1600));
}

}  // namespace
}  // namespace trelvin
