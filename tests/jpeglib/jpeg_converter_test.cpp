// The converter library on real files: pictures survive the trip, the level reaches the encoder,
// and damaged input or a failing write leaves nothing behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

#include "BmpReader.h"
#include "core/base/BmpFile.h"
#include "os/linux/capture/LibJpegConverter.h"
#include "support/JpegDecode.h"
#include "trelvin_jpeg.h"

namespace trelvin {
namespace {

namespace fs = std::filesystem;
using test_support::DecodeJpegFile;

using Bytes = std::vector<std::uint8_t>;

void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Blocks of solid colour with a gradient band: easy to compare after lossy compression.
Bitmap TestPicture(int width, int height) {
  Bitmap image;
  image.Resize(width, height, 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int block = (x / 16 + y / 16) % 4;
      const Rgb colours[4] = {MakeRgb(220, 30, 30), MakeRgb(30, 200, 40), MakeRgb(20, 40, 230),
                              MakeRgb(x * 255 / width, 128, y * 255 / height)};
      image.Row(y)[x] = colours[block];
    }
  }
  return image;
}

// A 32-bit BMP of `image`, bottom-up or top-down, plain or with bit fields for R, G, B, X bytes.
Bytes Bmp32(const Bitmap& image, bool top_down, bool rgbx_fields) {
  const std::size_t header = rgbx_fields ? 14 + 40 + 12 : 14 + 40;
  Bytes b(header + static_cast<std::size_t>(image.width) * image.height * 4);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, static_cast<std::uint32_t>(b.size()));
  Put32(b, 10, static_cast<std::uint32_t>(header));
  Put32(b, 14, 40);
  Put32(b, 18, static_cast<std::uint32_t>(image.width));
  Put32(b, 22, static_cast<std::uint32_t>(top_down ? -image.height : image.height));
  b[26] = 1;
  b[28] = 32;
  if (rgbx_fields) {
    b[30] = 3;
    Put32(b, 54, 0x000000FF);
    Put32(b, 58, 0x0000FF00);
    Put32(b, 62, 0x00FF0000);
  }
  for (int y = 0; y < image.height; ++y) {
    const int file_row = top_down ? y : image.height - 1 - y;
    for (int x = 0; x < image.width; ++x) {
      const Rgb p = image.Row(y)[x];
      std::uint8_t* d =
          b.data() + header + (static_cast<std::size_t>(file_row) * image.width + x) * 4;
      const std::uint8_t r = p >> 16 & 0xFF, g = p >> 8 & 0xFF, bl = p & 0xFF;
      if (rgbx_fields) {
        d[0] = r, d[1] = g, d[2] = bl, d[3] = 0x77;
      } else {
        d[0] = bl, d[1] = g, d[2] = r, d[3] = 0x77;
      }
    }
  }
  return b;
}

class JpegConverterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "trelvin-jpeg-XXXXXX").string();
    dir_ = std::string(::mkdtemp(pattern.data())) + "/";
  }
  void TearDown() override { fs::remove_all(dir_); }

  void WriteBytes(const std::string& name, const Bytes& bytes) {
    std::ofstream(dir_ + name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  Bytes ReadBytes(const std::string& name) {
    std::ifstream in(dir_ + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  int Convert(const std::string& bmp, const std::string& jpg, int level) {
    return BmpToJpeg((dir_ + bmp).c_str(), (dir_ + jpg).c_str(), static_cast<std::int16_t>(level));
  }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
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

  std::string dir_;
};

TEST_F(JpegConverterTest, RoundTripKeepsSizeAndPictureAndTheBitmap) {
  const Bitmap image = TestPicture(203, 117);  // odd sizes: padded rows, partial blocks
  const Bytes bmp = EncodeBmp24(image);
  WriteBytes("a.bmp", bmp);
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
  EXPECT_EQ(ReadBytes("a.bmp"), bmp);
  EXPECT_EQ(Names(), (std::vector<std::string>{"a.bmp", "a.jpg"}));
}

TEST_F(JpegConverterTest, ThirtyTwoBitLayoutsGiveTheSamePicture) {
  const Bitmap image = TestPicture(64, 48);
  WriteBytes("up.bmp", Bmp32(image, false, false));
  WriteBytes("down.bmp", Bmp32(image, true, false));
  WriteBytes("fields.bmp", Bmp32(image, true, true));
  for (const char* name : {"up", "down", "fields"}) {
    ASSERT_EQ(Convert(std::string(name) + ".bmp", std::string(name) + ".jpg", 95), 0) << name;
    const auto jpeg = DecodeJpegFile(dir_ + name + ".jpg");
    ASSERT_TRUE(jpeg.ok) << name;
    EXPECT_LT(MeanError(jpeg, image), 4.0) << name;
  }
}

TEST_F(JpegConverterTest, LevelReachesTheEncoderAsQuality) {
  WriteBytes("a.bmp", EncodeBmp24(TestPicture(32, 32)));
  LibJpegConverter converter;
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
    WriteBytes("d.bmp", bmp);
    EXPECT_NE(Convert("d.bmp", "d.jpg", 60), 0) << name;
    EXPECT_EQ(Names(), (std::vector<std::string>{"d.bmp"})) << name;
    EXPECT_EQ(ReadBytes("d.bmp"), bmp) << name;
  }
  // Masks that are not single runs, or that overlap, on 32 bits.
  Bytes fields = Bmp32(TestPicture(8, 8), false, true);
  Put32(fields, 54, 0x00000F0F);
  WriteBytes("d.bmp", fields);
  EXPECT_NE(Convert("d.bmp", "d.jpg", 60), 0);
  Put32(fields, 54, 0x0000FFFF);
  WriteBytes("d.bmp", fields);
  EXPECT_NE(Convert("d.bmp", "d.jpg", 60), 0);
  EXPECT_NE(Convert("missing.bmp", "d.jpg", 60), 0);
  EXPECT_NE(BmpToJpeg(nullptr, (dir_ + "d.jpg").c_str(), 60), 0);
  EXPECT_EQ(Names(), (std::vector<std::string>{"d.bmp"}));
}

TEST_F(JpegConverterTest, FailedConversionKeepsAnEarlierJpegWhole) {
  WriteBytes("a.jpg", Bytes{'o', 'l', 'd'});
  WriteBytes("a.bmp", Bytes{'B', 'M', 0});
  EXPECT_NE(Convert("a.bmp", "a.jpg", 60), 0);
  EXPECT_EQ(ReadBytes("a.jpg"), (Bytes{'o', 'l', 'd'}));
  // A good conversion replaces it.
  WriteBytes("a.bmp", EncodeBmp24(TestPicture(16, 16)));
  ASSERT_EQ(Convert("a.bmp", "a.jpg", 60), 0);
  EXPECT_TRUE(DecodeJpegFile(dir_ + "a.jpg").ok);
}

TEST_F(JpegConverterTest, JpegOntoItsOwnBitmapIsRefused) {
  const Bytes bmp = EncodeBmp24(TestPicture(16, 16));
  WriteBytes("a.bmp", bmp);
  fs::create_symlink(dir_ + "a.bmp", dir_ + "link.jpg");
  EXPECT_NE(Convert("a.bmp", "a.bmp", 60), 0);
  EXPECT_NE(Convert("a.bmp", "link.jpg", 60), 0);
  EXPECT_EQ(ReadBytes("a.bmp"), bmp);
}

TEST_F(JpegConverterTest, FailedWriteLeavesNoPartialFile) {
  // Noise compresses badly, so the JPEG is far larger than the file size limit below.
  Bitmap noise;
  noise.Resize(256, 256, 0);
  std::mt19937 random(7);
  for (auto& p : noise.pixels) p = random() & 0xFFFFFF;
  WriteBytes("n.bmp", EncodeBmp24(noise));
  EXPECT_NE(Convert("n.bmp", "gone/n.jpg", 60), 0);  // no such directory

  struct sigaction ignore {
  }, previous{};
  ignore.sa_handler = SIG_IGN;
  ::sigaction(SIGXFSZ, &ignore, &previous);
  rlimit old_limit{};
  ::getrlimit(RLIMIT_FSIZE, &old_limit);
  rlimit small = old_limit;
  small.rlim_cur = 20000;
  ::setrlimit(RLIMIT_FSIZE, &small);
  const int result = Convert("n.bmp", "n.jpg", 95);
  ::setrlimit(RLIMIT_FSIZE, &old_limit);
  ::sigaction(SIGXFSZ, &previous, nullptr);
  EXPECT_NE(result, 0);
  EXPECT_EQ(Names(), (std::vector<std::string>{"n.bmp"}));
}

// Random damage to the headers and the pixel data: the reader never reads outside the source
// (run under the sanitizers to see it) and never gives more rows than it announced.
TEST(BmpReaderTest, SurvivesRandomDamage) {
  const Bytes good = EncodeBmp24(TestPicture(13, 7));
  std::mt19937 random(12345);
  for (int round = 0; round < 3000; ++round) {
    Bytes bytes = good;
    const int edits = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < edits; ++e) {
      const std::size_t at = random() % 60;  // mostly the headers
      if (at < bytes.size()) bytes[at] = static_cast<std::uint8_t>(random());
    }
    if (random() % 3 == 0) bytes.resize(random() % (bytes.size() + 1));
    // A copy of exactly the file's length, so any overread is outside the allocation.
    std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[bytes.size() + 1]);
    std::copy(bytes.begin(), bytes.end(), exact.get());
    bmp::MemorySource source(exact.get(), bytes.size());
    bmp::BmpReader reader;
    if (!reader.Open(source)) continue;
    ASSERT_GT(reader.Width(), 0);
    ASSERT_GT(reader.Height(), 0);
    int rows = 0;
    while (reader.NextRow()) ++rows;
    EXPECT_EQ(rows, reader.Height());
  }
}

}  // namespace
}  // namespace trelvin
