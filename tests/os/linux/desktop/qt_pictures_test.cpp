// Decoding, reduced decoding, the memory cap and saving of pictures through Qt.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>

#include "core/base/ReducedScale.h"
#include "core/slideshow/Catalogue.h"
#include "os/linux/desktop/QtPicture.h"
#include "os/linux/desktop/QtPictures.h"
#include "os/linux/files/PosixFileSystem.h"
#include "support/ExifJpeg.h"

namespace trelvin {
namespace {

namespace fs = std::filesystem;

class QtPicturesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "trelvin-pictures-XXXXXX").string();
    dir_ = ::mkdtemp(pattern.data());
  }
  void TearDown() override { fs::remove_all(dir_); }

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

  fs::path dir_;
  QtPictures pictures_;
};

TEST_F(QtPicturesTest, StretchedLargeJpegDecodesReducedAndShowsTheSameWithinAPixel) {
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
}

TEST_F(QtPicturesTest, NaturalSizeAndSmallPicturesAreDecodedWhole) {
  const std::string path = Blocks(2400, 1600, "mid.jpg");
  auto picture = pictures_.LoadPicture(path, {});
  ASSERT_TRUE(picture);
  EXPECT_EQ(AsQt(picture).image().size(), QSize(2400, 1600));
  EXPECT_FALSE(AsQt(picture).Reduced());
  // Stretched, but not larger than the screen in height: whole.
  auto stretched = pictures_.LoadPicture(path, {1920, 1600});
  EXPECT_EQ(AsQt(stretched).image().size(), QSize(2400, 1600));
}

TEST_F(QtPicturesTest, GifShowsItsFirstFrame) {
  // Two frames of two pixels: red, then blue.
  const std::vector<unsigned char> gif{
      'G',  'I',  'F',  '8', '9', 'a', 2, 0, 1, 0, 0x80, 0, 0,    0xFF, 0,    0,    0,
      0,    0xFF, 0x2C, 0,   0,   0,   0, 2, 0, 1, 0,    0, 2,    2,    0x04, 0x0A, 0,
      0x2C, 0,    0,    0,   0,   2,   0, 1, 0, 0, 2,    2, 0x4C, 0x0A, 0,    0x3B};
  const std::string path = (dir_ / "two.gif").string();
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(gif.data()), gif.size());
  auto picture = pictures_.LoadPicture(path, {1024, 768});
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->PixelSize(), (Size{2, 1}));
  EXPECT_EQ(AsQt(picture).image().pixelColor(0, 0), QColor(255, 0, 0));
}

TEST_F(QtPicturesTest, DamagedFilesAndDecompressionBombsFailToLoad) {
  const std::string garbage = (dir_ / "garbage.jpg").string();
  std::ofstream(garbage) << "this is not a picture at all";
  EXPECT_EQ(pictures_.LoadPicture(garbage, {}), nullptr);
  EXPECT_EQ(pictures_.LoadPicture((dir_ / "missing.jpg").string(), {}), nullptr);

  // A small file whose frame header claims 60000 x 60000 pixels.
  const std::string small = Blocks(16, 16, "small.jpg");
  std::ifstream in(small, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
  bool patched = false;
  for (std::size_t i = 0; i + 8 < bytes.size(); ++i) {
    if (static_cast<unsigned char>(bytes[i]) == 0xFF &&
        static_cast<unsigned char>(bytes[i + 1]) == 0xC0) {
      bytes[i + 5] = static_cast<char>(0xEA), bytes[i + 6] = 0x60;  // height
      bytes[i + 7] = static_cast<char>(0xEA), bytes[i + 8] = 0x60;  // width
      patched = true;
      break;
    }
  }
  ASSERT_TRUE(patched);
  const std::string bomb = (dir_ / "bomb.jpg").string();
  std::ofstream(bomb, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  EXPECT_EQ(pictures_.LoadPicture(bomb, {}), nullptr);
  EXPECT_EQ(pictures_.LoadPicture(bomb, {1920, 1080}), nullptr);
}

TEST_F(QtPicturesTest, SavesA24BitBitmapWithEveryPixelOfAReducedPicture) {
  const std::string path = Blocks(4000, 3000, "big.jpg");
  auto reduced = pictures_.LoadPicture(path, {1920, 1080});
  ASSERT_TRUE(reduced && AsQt(reduced).Reduced());
  const std::string bmp = (dir_ / "out.bmp").string();
  ASSERT_TRUE(pictures_.SavePicture(*reduced, bmp));
  std::ifstream in(bmp, std::ios::binary);
  std::vector<unsigned char> header(54);
  in.read(reinterpret_cast<char*>(header.data()), 54);
  EXPECT_EQ(header[0], 'B');
  EXPECT_EQ(header[1], 'M');
  EXPECT_EQ(header[18] | header[19] << 8, 4000);
  EXPECT_EQ(header[22] | header[23] << 8, 3000);
  EXPECT_EQ(header[28], 24);
  // No temporary file is left beside it.
  int files = 0;
  for (const auto& entry : fs::directory_iterator(dir_))
    files += entry.path().extension() == ".bmp";
  EXPECT_EQ(files, 1);
}

// Every format through the catalogue, then loaded as the show loads it: at once, and prepared
// ahead for a stretched 64 x 48 screen (already that size, so the control copies it 1:1).
TEST_F(QtPicturesTest, EveryFormatIsListedAndShownAndADamagedOneOfEachIsPassedOver) {
  struct Case {
    const char* name;
    const char* format;
    QColor colour;
    bool damaged;
  };
  const Case cases[] = {{"a.png", "PNG", QColor(0, 200, 0), false},
                        {"b.BMP", "BMP", QColor(0, 0, 200), false},
                        {"c.webp", "WEBP", QColor(200, 0, 0), false},
                        {"d.JPEG", "JPEG", QColor(200, 200, 0), false},
                        {"e.jpg", "JPEG", QColor(0, 200, 200), false},
                        {"x.png", "PNG", {}, true},
                        {"x.bmp", "BMP", {}, true},
                        {"x.webp", "WEBP", {}, true},
                        {"x.jpeg", "JPEG", {}, true}};
  std::set<std::string> expected;
  for (const Case& c : cases) {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(c.damaged ? QColor(9, 9, 9) : c.colour);
    const QString path = QString::fromStdString((dir_ / c.name).string());
    ASSERT_TRUE(image.save(path, c.format, 100)) << c.name;
    // Damaged: cut off after the first 30 bytes, inside or just after the headers.
    if (c.damaged) {
      ASSERT_TRUE(QFile::resize(path, 30));
    }
    expected.insert(c.name);
  }
  std::ofstream(dir_ / "notes.txt") << "not listed";
  std::ofstream(dir_ / "f.png.bak") << "not listed";

  PosixFileSystem files;
  NameList list(NameList::Order::kInsertion);
  FillCatalogue(list, files, dir_.string() + "/", kPictureExtensions,
                OtherNames::kLeftToTheirOwnPattern);
  std::multiset<std::string> listed;
  for (std::int16_t i = 0; i < list.ListCount(); ++i) listed.insert(list.List(i));
  EXPECT_EQ(listed, std::multiset<std::string>(expected.begin(), expected.end()));

  for (const Case& c : cases) {
    const std::string path = (dir_ / c.name).string();
    auto now = pictures_.LoadPicture(path, {});
    pictures_.PreparePicture(path, {64, 48});
    auto prepared = pictures_.LoadPicture(path, {64, 48});
    if (c.damaged) {
      EXPECT_EQ(now, nullptr) << c.name;
      EXPECT_EQ(prepared, nullptr) << c.name;
      continue;
    }
    ASSERT_TRUE(now && prepared) << c.name;
    EXPECT_EQ(now->PixelSize(), (Size{40, 30})) << c.name;
    EXPECT_EQ(prepared->PixelSize(), (Size{40, 30})) << c.name;
    EXPECT_EQ(AsQt(prepared).image().size(), QSize(64, 48)) << c.name;
    for (const QColor got :
         {AsQt(now).image().pixelColor(20, 15), AsQt(prepared).image().pixelColor(32, 24)}) {
      EXPECT_LE(std::abs(got.red() - c.colour.red()) + std::abs(got.green() - c.colour.green()) +
                    std::abs(got.blue() - c.colour.blue()),
                12)
          << c.name << " " << got.name().toStdString();
    }
  }
}

// A photo stored on its side (red left, blue right) whose EXIF orientation turns it a quarter
// clockwise: upright it is 30 x 40, red on top, whether decoded whole, reduced or ahead.
TEST_F(QtPicturesTest, AJpegIsTurnedUprightByItsExifOrientation) {
  QImage stored(1600, 1200, QImage::Format_RGB32);
  stored.fill(QColor(0, 0, 255));
  QPainter(&stored).fillRect(0, 0, 800, 1200, QColor(255, 0, 0));
  QByteArray bytes;
  QBuffer buffer(&bytes);
  ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && stored.save(&buffer, "JPEG", 95));
  const std::string path = (dir_ / "photo.jpg").string();
  const std::string turned =
      test_support::WithExifOrientation(std::string(bytes.constData(), bytes.size()), 6);
  std::ofstream(path, std::ios::binary)
      .write(turned.data(), static_cast<std::streamsize>(turned.size()));

  pictures_.PreparePicture(path, {300, 400});
  for (auto picture : {pictures_.LoadPicture(path, {}), pictures_.LoadPicture(path, {300, 400}),
                       pictures_.LoadPicture(path, {300, 400})}) {
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->PixelSize(), (Size{1200, 1600}));
    const QImage& image = AsQt(picture).image();
    EXPECT_GT(image.height(), image.width());
    const QColor top = image.pixelColor(image.width() / 2, image.height() / 4);
    const QColor bottom = image.pixelColor(image.width() / 2, image.height() * 3 / 4);
    EXPECT_GT(top.red(), 200) << top.name().toStdString();
    EXPECT_GT(bottom.blue(), 200) << bottom.name().toStdString();
  }
}

}  // namespace
}  // namespace trelvin
