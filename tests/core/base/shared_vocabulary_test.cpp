// The small shared rules the forms and the platforms use: case folding, the random index, the
// guarded 16-bit counter, the reduced JPEG size.
#include <gtest/gtest.h>

#include <cstdint>

#include "core/base/AsciiCase.h"
#include "core/base/Guard.h"
#include "core/base/Int16Counter.h"
#include "core/base/RandomIndex.h"
#include "os/common/ReducedScale.h"

namespace trelvin {
namespace {

TEST(AsciiCaseTest, FoldsAsciiLettersOnlyWhateverTheLocale) {
  EXPECT_TRUE(EqualsNoCase("Sequencer", "SEQUENCER"));
  EXPECT_FALSE(EqualsNoCase("seq", "sequencer"));
  // Bytes above 127 (Latin-1 "É" and "é") are never folded into each other.
  EXPECT_FALSE(EqualsNoCase("\xC9", "\xE9"));
  EXPECT_EQ(AsciiLower("/P \xC9"), "/p \xC9");
  EXPECT_TRUE(EndsWithNoCase("Tune.MID", ".mid"));
  EXPECT_FALSE(EndsWithNoCase("mid", ".mid"));
  // '[' lies between the capitals and the small letters: a capital is compared folded, after it.
  EXPECT_TRUE(LessNoCase("[", "Z"));
  EXPECT_FALSE(LessNoCase("Z", "["));
  EXPECT_TRUE(LessNoCase("b", "\xE9"));
  EXPECT_FALSE(LessNoCase("B", "b"));
  EXPECT_FALSE(LessNoCase("b", "B"));
}

TEST(RandomIndexTest, IsTheWholePartOfTheSinglePrecisionProduct) {
  EXPECT_EQ(RandomIndex(0.0f, 3), 0);
  EXPECT_EQ(RandomIndex(0.5f, 3), 1);
  EXPECT_EQ(RandomIndex(0.99999994f, 3), 2);
  // 0.7f is just below 0.7, but its product with 10 rounds to 7 in single precision (double
  // precision would give 6).
  EXPECT_EQ(RandomIndex(0.7f, 10), 7);
  EXPECT_EQ(RandomIndex(0.99f, 1), 0);
}

TEST(Int16CounterTest, IncrementsUpToTheLimitThenFailsTheStepLeavingTheValue) {
  std::int16_t value = 32766;
  EXPECT_TRUE(Step([&] { IncrementInt16(value); }));
  EXPECT_EQ(value, 32767);
  EXPECT_FALSE(Step([&] { IncrementInt16(value); }));
  EXPECT_EQ(value, 32767);
  value = -1;
  IncrementInt16(value);
  EXPECT_EQ(value, 0);
}

TEST(ReducedScaleTest, IsTheSmallestOfHalfQuarterEighthThatCoversTheDisplay) {
  const struct {
    Size natural, display, expected;
  } kCases[] = {
      {{4000, 3000}, {1920, 1080}, {2000, 1500}},
      {{4001, 3001}, {1920, 1080}, {2001, 1501}},   // sides rounded up
      {{16000, 9000}, {1920, 1080}, {2000, 1125}},  // 1/8
      {{8192, 6144}, {1024, 768}, {1024, 768}},     // exactly the display
      {{2049, 1537}, {1024, 768}, {1025, 769}},
      {{1920, 1080}, {1920, 1080}, {1920, 1080}},  // no reduction covers it: whole
      {{4000, 1000}, {1920, 1080}, {4000, 1000}},
      {{3000, 2000}, {1920, 1080}, {3000, 2000}},  // 6/8 would, but is no decoder's reduction
  };
  for (const auto& c : kCases) EXPECT_EQ(ReducedJpegSize(c.natural, c.display), c.expected);
}

}  // namespace
}  // namespace trelvin
