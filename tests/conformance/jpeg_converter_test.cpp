// The converter library on each system's real files (libtrelvinjpeg, jpeglib.dll under Wine):
// pictures survive the trip, the level reaches the encoder, damaged input or a failing write
// leaves nothing behind, and a JPEG never replaces its own bitmap.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "conformance/FileSystemDriver.h"
#include "conformance/JpegConverterDriver.h"
#include "core/base/BmpFile.h"
#include "support/JpegDecode.h"
#include "support/TestPictures.h"

namespace trelvin::conformance {
namespace {

using test_support::DecodeJpegFile;

using Bytes = std::vector<std::uint8_t>;
using test_support::Bmp32;
using test_support::Put32;
using test_support::TestPicture;

class JpegConverterTest : public ::testing::Test {
 protected:
  int Convert(const std::string& bmp, const std::string& jpg, int level) {
    return CallBmpToJpeg((dir_ + bmp).c_str(), (dir_ + jpg).c_str(),
                         static_cast<std::int16_t>(level));
  }
  // Mean absolute difference per channel between the decoded JPEG and the picture, away from the
  // edges of the colour blocks (where chroma subsampling blurs by design).
  static double MeanError(const test_support::DecodedJpeg& jpeg, const Bitmap& image) {
    double sum = 0;
    int count = 0;
    for (int y = 0; y < image.height; ++y) {
      for (int x = 0; x < image.width; ++x) {
        if (x % 16 < 3 || x % 16 > 12 || y % 16 < 3 || y % 16 > 12) continue;
        ++count;
        const Rgb a = jpeg.At(x, y), b = image.Row(y)[x];
        for (int shift : {0, 8, 16})
          sum += std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF));
      }
    }
    return sum / (3.0 * count);
  }

  Folder folder_;
  const std::string& dir_ = folder_.path;
};

TEST_F(JpegConverterTest, RoundTripKeepsSizeAndPictureAndTheBitmap) {
  const Bitmap image = TestPicture(203, 117);  // odd sizes: padded rows, partial blocks
  const Bytes bmp = EncodeBmp24(image);
  folder_.Put("a.bmp", bmp);
  ASSERT_EQ(Convert("a.bmp", "a.jpg", 90), 0);
  const auto jpeg = DecodeJpegFile(dir_ + "a.jpg");
  ASSERT_TRUE(jpeg.ok);
  EXPECT_EQ(jpeg.width, 203);
  EXPECT_EQ(jpeg.height, 117);
  EXPECT_LT(MeanError(jpeg, image), 4.0);
  // Orientation: the top-left block is red, the one beside it green.
  const Rgb top_left = jpeg.At(4, 4), next = jpeg.At(20, 4);
  EXPECT_GT(top_left >> 16 & 0xFF, 180u);
  EXPECT_GT(next >> 8 & 0xFF, 160u);
  EXPECT_EQ(folder_.GetBytes("a.bmp"), bmp);
  EXPECT_EQ(folder_.Names(), (std::vector<std::string>{"a.bmp", "a.jpg"}));
}

TEST_F(JpegConverterTest, ThirtyTwoBitLayoutsGiveTheSamePicture) {
  const Bitmap image = TestPicture(64, 48);
  folder_.Put("up.bmp", Bmp32(image, false, false));
  folder_.Put("down.bmp", Bmp32(image, true, false));
  folder_.Put("fields.bmp", Bmp32(image, true, true));
  for (const char* name : {"up", "down", "fields"}) {
    ASSERT_EQ(Convert(std::string(name) + ".bmp", std::string(name) + ".jpg", 95), 0) << name;
    const auto jpeg = DecodeJpegFile(dir_ + name + ".jpg");
    ASSERT_TRUE(jpeg.ok) << name;
    EXPECT_LT(MeanError(jpeg, image), 4.0) << name;
  }
}

TEST_F(JpegConverterTest, LevelReachesTheEncoderAsQuality) {
  folder_.Put("a.bmp", EncodeBmp24(TestPicture(32, 32)));
  const auto service = MakeJpegConverter();
  JpegConverter& converter = *service;
  for (int level : {1, 60, 100}) {
    ASSERT_EQ(converter.BmpToJpeg(dir_ + "a.bmp", dir_ + "a.jpg", static_cast<std::int16_t>(level)),
              0);
    const auto jpeg = DecodeJpegFile(dir_ + "a.jpg");
    ASSERT_TRUE(jpeg.ok);
    EXPECT_EQ(jpeg.luma_quant, test_support::ExpectedLumaQuant(level)) << level;
  }
  // Levels outside the range are held to it.
  ASSERT_EQ(converter.BmpToJpeg(dir_ + "a.bmp", dir_ + "a.jpg", 0), 0);
  EXPECT_EQ(DecodeJpegFile(dir_ + "a.jpg").luma_quant, test_support::ExpectedLumaQuant(1));
}

TEST_F(JpegConverterTest, DamagedBitmapsGiveNoJpegAndStayUntouched) {
  const Bytes good = EncodeBmp24(TestPicture(20, 10));
  using Mutation = std::function<void(Bytes&)>;
  const std::vector<std::pair<const char*, Mutation>> cases{
      {"empty", [](Bytes& b) { b.clear(); }},
      {"header only", [](Bytes& b) { b.resize(30); }},
      {"no pixels", [](Bytes& b) { b.resize(54); }},
      {"short pixels", [](Bytes& b) { b.pop_back(); }},
      {"magic", [](Bytes& b) { b[0] = 'P'; }},
      {"huge width", [](Bytes& b) { Put32(b, 18, 0x7FFFFFFF); }},
      {"width over limit", [](Bytes& b) { Put32(b, 18, 65501); }},
      {"negative width", [](Bytes& b) { Put32(b, 18, static_cast<std::uint32_t>(-20)); }},
      {"zero height", [](Bytes& b) { Put32(b, 22, 0); }},
      {"most negative height", [](Bytes& b) { Put32(b, 22, 0x80000000u); }},
      {"huge height", [](Bytes& b) { Put32(b, 22, 60000); }},
      {"8 bits", [](Bytes& b) { b[28] = 8; }},
      {"16 bits", [](Bytes& b) { b[28] = 16; }},
      {"planes", [](Bytes& b) { b[26] = 2; }},
      {"rle", [](Bytes& b) { b[30] = 1; }},
      {"bit fields on 24 bits", [](Bytes& b) { b[30] = 3; }},
      {"offset past end", [](Bytes& b) { Put32(b, 10, 0xFFFFFFF0u); }},
      {"offset into headers", [](Bytes& b) { Put32(b, 10, 20); }},
      {"core header", [](Bytes& b) { Put32(b, 14, 12); }},
      {"header size", [](Bytes& b) { Put32(b, 14, 0xFFFFFFFFu); }},
  };
  for (const auto& [name, mutate] : cases) {
    Bytes bmp = good;
    mutate(bmp);
    folder_.Put("d.bmp", bmp);
    EXPECT_NE(Convert("d.bmp", "d.jpg", 60), 0) << name;
    EXPECT_EQ(folder_.Names(), (std::vector<std::string>{"d.bmp"})) << name;
    EXPECT_EQ(folder_.GetBytes("d.bmp"), bmp) << name;
  }
  // Masks that are not single runs, or that overlap, on 32 bits.
  Bytes fields = Bmp32(TestPicture(8, 8), false, true);
  for (std::uint32_t mask : {0x00000F0Fu, 0x0000FFFFu}) {
    Put32(fields, 54, mask);
    folder_.Put("d.bmp", fields);
    EXPECT_NE(Convert("d.bmp", "d.jpg", 60), 0) << std::hex << mask;
  }
  EXPECT_NE(Convert("missing.bmp", "d.jpg", 60), 0);
  EXPECT_NE(CallBmpToJpeg(nullptr, (dir_ + "d.jpg").c_str(), 60), 0);
  EXPECT_EQ(folder_.Names(), (std::vector<std::string>{"d.bmp"}));
}

// A failed conversion keeps an earlier JPEG whole, a JPEG never replaces its own bitmap, one into
// a folder that does not exist fails, and so does one whose write fails half-way
// (tests/os/linux/capture/lib_jpeg_converter_test.cpp, where a file size limit can be set).
TEST_F(JpegConverterTest, FailedConversionKeepsAnEarlierJpegWhole) {
  folder_.Put("a.jpg", Bytes{'o', 'l', 'd'});
  folder_.Put("a.bmp", Bytes{'B', 'M', 0});
  EXPECT_NE(Convert("a.bmp", "a.jpg", 60), 0);
  EXPECT_EQ(folder_.GetBytes("a.jpg"), (Bytes{'o', 'l', 'd'}));
  folder_.Put("a.bmp", EncodeBmp24(TestPicture(16, 16)));
  EXPECT_NE(Convert("a.bmp", std::string("gone") + Separator() + "a.jpg", 60), 0);
  EXPECT_EQ(folder_.Names(), (std::vector<std::string>{"a.bmp", "a.jpg"}));
  // Never onto its own bitmap, under any of its names.
  const Bytes bmp = folder_.GetBytes("a.bmp");
  EXPECT_NE(Convert("a.bmp", "a.bmp", 60), 0);
  for (const std::string& same : SameFile(dir_, "a.bmp")) {
    EXPECT_NE(CallBmpToJpeg((dir_ + "a.bmp").c_str(), same.c_str(), 60), 0) << same;
  }
  EXPECT_EQ(folder_.GetBytes("a.bmp"), bmp);
  // A good conversion replaces the earlier JPEG.
  ASSERT_EQ(Convert("a.bmp", "a.jpg", 60), 0);
  EXPECT_TRUE(DecodeJpegFile(dir_ + "a.jpg").ok);
}

}  // namespace
}  // namespace trelvin::conformance
