// What the converter's conformance suite cannot ask of every system: a write that fails half-way,
// made to fail by a file size limit.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <random>

#include "core/base/BmpFile.h"
#include "support/PosixFiles.h"
#include "trelvin_jpeg.h"

namespace trelvin {
namespace {

TEST(LibJpegConverterTest, FailedWriteLeavesNoPartialFile) {
  const test_support::TempDir temp("trelvin-jpeg");
  const std::string dir = temp.slash();
  // Noise compresses badly, so the JPEG is far larger than the file size limit below.
  Bitmap noise;
  noise.Resize(256, 256, 0);
  std::mt19937 random(7);
  for (auto& p : noise.pixels) p = random() & 0xFFFFFF;
  test_support::WriteFile(dir + "n.bmp", EncodeBmp24(noise));

  {
    const test_support::FileSizeLimit limit(20000);
    EXPECT_NE(BmpToJpeg((dir + "n.bmp").c_str(), (dir + "n.jpg").c_str(), 95), 0);
  }
  EXPECT_EQ(test_support::Names(dir), std::vector<std::string>{"n.bmp"});
}

}  // namespace
}  // namespace trelvin
