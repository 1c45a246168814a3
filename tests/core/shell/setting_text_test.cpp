// Conversion of stored setting texts and the directory-pattern matcher.
#include <gtest/gtest.h>

#include <optional>

#include "core/base/PatternMatch.h"
#include "core/shell/SettingText.h"

namespace trelvin {
namespace {

// Decimal integers within 16 bits, fractions rounded half to even; anything else is no number.
TEST(SettingTextTest, ConvertsDecimalsWithinSixteenBitsRoundingHalfToEven) {
  struct Case {
    const char* text;
    std::optional<std::int16_t> value;
  };
  for (const Case& c :
       {Case{"60", 60}, Case{"  -32768 ", -32768}, Case{"+32767", 32767}, Case{"007", 7},
        Case{"32768", {}}, Case{"-32769", {}}, Case{"99999999999999999999999", {}}, Case{"2.5", 2},
        Case{"3.5", 4}, Case{"2.51", 3}, Case{"2.49999", 2}, Case{"-1.5", -2}, Case{".6", 1},
        Case{"5.", 5}, Case{"32767.5", {}}}) {
    EXPECT_EQ(ParseSettingInt16(c.text), c.value) << c.text;
  }
  for (const char* text : {"", " ", "x", "1x", "0x10", "1e2", "--1", "+", ".", "1 2", "1,5"}) {
    EXPECT_FALSE(ParseSettingInt16(text)) << '"' << text << '"';
  }
  EXPECT_EQ(FormatSettingInt(60), "60");
  EXPECT_EQ(FormatSettingInt(-5), "-5");
}

TEST(PatternMatchTest, WildcardsIgnoreCaseOfLetters) {
  struct Case {
    const char *name, *pattern;
    bool matches;
  };
  for (const Case& c :
       {Case{"a.JPG", "*.jpg", true}, Case{"x.y.jpg", "*.jpg", true},
        Case{"c.jpeg", "*.jpg", false}, Case{"a.jpg.txt", "*.jpg", false},
        Case{"VGS.EXE", "*vgs.exe", true}, Case{"myvgs.exe", "*vgs.exe", true},
        Case{"vgs.exe.bak", "*vgs.exe", false}, Case{"abc", "a?c", true}, Case{"", "*", true},
        Case{"", "?", false}, Case{"aaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*b", true},
        // only ASCII letters fold
        Case{"\xC3\x84.jpg", "\xC3\xA4.jpg", false}}) {
    EXPECT_EQ(MatchesPattern(c.name, c.pattern), c.matches) << c.name << " " << c.pattern;
  }
}

}  // namespace
}  // namespace trelvin
