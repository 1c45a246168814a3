// The converter's BMP reader on damaged files, the same on every system.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>

#include "BmpReader.h"
#include "core/base/BmpFile.h"
#include "support/TestPictures.h"

namespace trelvin {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test_support::TestPicture;

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
