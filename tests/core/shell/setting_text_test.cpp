// Conversion of stored setting texts and the directory-pattern matcher.
#include <gtest/gtest.h>

#include "core/base/PatternMatch.h"
#include "core/shell/SettingText.h"

namespace trelvin {
namespace {

TEST(SettingTextTest, ConvertsDecimalIntegersWithinSixteenBits) {
  EXPECT_EQ(ParseSettingInt16("60"), 60);
  EXPECT_EQ(ParseSettingInt16("  -32768 "), -32768);
  EXPECT_EQ(ParseSettingInt16("+32767"), 32767);
  EXPECT_EQ(ParseSettingInt16("007"), 7);
  EXPECT_FALSE(ParseSettingInt16("32768"));
  EXPECT_FALSE(ParseSettingInt16("-32769"));
  EXPECT_FALSE(ParseSettingInt16("99999999999999999999999"));
}

TEST(SettingTextTest, RejectsTextThatIsNotANumber) {
  for (const char* text : {"", " ", "x", "1x", "0x10", "1e2", "--1", "+", ".", "1 2", "1,5"}) {
    EXPECT_FALSE(ParseSettingInt16(text)) << '"' << text << '"';
  }
}

TEST(SettingTextTest, RoundsFractionsHalfToEven) {
  EXPECT_EQ(ParseSettingInt16("2.5"), 2);
  EXPECT_EQ(ParseSettingInt16("3.5"), 4);
  EXPECT_EQ(ParseSettingInt16("2.51"), 3);
  EXPECT_EQ(ParseSettingInt16("2.49999"), 2);
  EXPECT_EQ(ParseSettingInt16("-1.5"), -2);
  EXPECT_EQ(ParseSettingInt16(".6"), 1);
  EXPECT_EQ(ParseSettingInt16("5."), 5);
  EXPECT_FALSE(ParseSettingInt16("32767.5"));
  EXPECT_EQ(FormatSettingInt(60), "60");
  EXPECT_EQ(FormatSettingInt(-5), "-5");
}

TEST(PatternMatchTest, WildcardsIgnoreCaseOfLetters) {
  EXPECT_TRUE(MatchesPattern("a.JPG", "*.jpg"));
  EXPECT_TRUE(MatchesPattern("x.y.jpg", "*.jpg"));
  EXPECT_FALSE(MatchesPattern("c.jpeg", "*.jpg"));
  EXPECT_FALSE(MatchesPattern("a.jpg.txt", "*.jpg"));
  EXPECT_TRUE(MatchesPattern("VGS.EXE", "*vgs.exe"));
  EXPECT_TRUE(MatchesPattern("myvgs.exe", "*vgs.exe"));
  EXPECT_FALSE(MatchesPattern("vgs.exe.bak", "*vgs.exe"));
  EXPECT_TRUE(MatchesPattern("abc", "a?c"));
  EXPECT_TRUE(MatchesPattern("", "*"));
  EXPECT_FALSE(MatchesPattern("", "?"));
  EXPECT_TRUE(MatchesPattern("aaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*b"));
  EXPECT_FALSE(MatchesPattern("\xC3\x84.jpg", "\xC3\xA4.jpg"));  // only ASCII letters fold
}

}  // namespace
}  // namespace trelvin
