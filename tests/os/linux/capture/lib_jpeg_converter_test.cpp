// What the converter's conformance suite cannot ask of every system: a write that fails half-way,
// made to fail by a file size limit.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "core/base/BmpFile.h"
#include "support/PosixFiles.h"
#include "trelvin_jpeg.h"

namespace trelvin {
namespace {

namespace fs = std::filesystem;

TEST(LibJpegConverterTest, FailedWriteLeavesNoPartialFile) {
  const test_support::TempDir temp("trelvin-jpeg");
  const std::string dir = temp.slash();
  // Noise compresses badly, so the JPEG is far larger than the file size limit below.
  Bitmap noise;
  noise.Resize(256, 256, 0);
  std::mt19937 random(7);
  for (auto& p : noise.pixels) p = random() & 0xFFFFFF;
  const std::vector<std::uint8_t> bmp = EncodeBmp24(noise);
  std::ofstream(dir + "n.bmp", std::ios::binary)
      .write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));

  {
    const test_support::FileSizeLimit limit(20000);
    EXPECT_NE(BmpToJpeg((dir + "n.bmp").c_str(), (dir + "n.jpg").c_str(), 95), 0);
  }
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
  EXPECT_EQ(names, std::vector<std::string>{"n.bmp"});
}

}  // namespace
}  // namespace trelvin
