// Which command lines make the program a screen-saver module, and which window it draws into.
#include <gtest/gtest.h>

#include "os/linux/saver/ScreenSaverCommandLine.h"

namespace trelvin {
namespace {

using Args = std::vector<std::string>;

std::optional<unsigned long> TargetOf(const Args& args, const char* variable) {
  const ScreenSaverCommandLine::Reading reading = ScreenSaverCommandLine::Read(args, variable);
  EXPECT_EQ(reading.error, "");
  if (!reading.target) return std::nullopt;
  return reading.target->window;
}

TEST(ScreenSaverCommandLineTest, WindowsSwitchesKeepTheirMeaningWhateverTheEnvironment) {
  for (const char* variable : {static_cast<const char*>(nullptr), "0x2a00007"}) {
    for (const Args& args : {Args{"/p"}, Args{"/P", "1234"}, Args{"/c:1234"}, Args{"/s"},
                             Args{"-x"}, Args{"-window"}, Args{"root"}}) {
      EXPECT_EQ(TargetOf(args, variable), std::nullopt) << args[0];
    }
  }
  // No argument and no daemon: the settings window, as always.
  EXPECT_EQ(TargetOf({}, nullptr), std::nullopt);
  EXPECT_EQ(TargetOf({}, ""), std::nullopt);
}

TEST(ScreenSaverCommandLineTest, TheDaemonsWindowComesFromTheArgumentsOrTheEnvironment) {
  EXPECT_EQ(TargetOf({"-window-id", "0x2a00007"}, nullptr), 0x2a00007ul);
  EXPECT_EQ(TargetOf({"--window-id", "44040199"}, nullptr), 44040199ul);
  // A leading zero is still decimal, never octal.
  EXPECT_EQ(TargetOf({"-window-id", "0100"}, nullptr), 100ul);
  // The explicit id wins over the variable.
  EXPECT_EQ(TargetOf({"-window-id", "0x400001"}, "0x2a00007"), 0x400001ul);
  EXPECT_EQ(TargetOf({"-root"}, "0x2a00007"), 0x2a00007ul);
  EXPECT_EQ(TargetOf({"--root"}, "0x2A00007"), 0x2a00007ul);
  EXPECT_EQ(TargetOf({}, "0x2a00007"), 0x2a00007ul);
  // -root with no daemon's window: the root window itself (0).
  EXPECT_EQ(TargetOf({"-root"}, nullptr), 0ul);
  EXPECT_EQ(TargetOf({"-root"}, ""), 0ul);
}

TEST(ScreenSaverCommandLineTest, AnUnusableWindowIdIsAnErrorNotAShow) {
  for (const Args& args :
       {Args{"-window-id"}, Args{"-window-id", "screen"}, Args{"-window-id", "0"},
        Args{"-window-id", "-5"}, Args{"-window-id", "0x2a00007junk"},
        Args{"-window-id", "0x7fffffff"}, Args{"-window-id", "99999999999999999999999"},
        Args{"-window-id", "0x"}, Args{"-window-id", "0x1g"},
        Args{"-window-id", std::string("12\0x", 4)}}) {
    const ScreenSaverCommandLine::Reading reading = ScreenSaverCommandLine::Read(args, nullptr);
    EXPECT_FALSE(reading.target) << args.back();
    EXPECT_NE(reading.error, "") << args.back();
  }
  const ScreenSaverCommandLine::Reading reading = ScreenSaverCommandLine::Read({"-root"}, "window");
  EXPECT_FALSE(reading.target);
  EXPECT_NE(reading.error, "");
}

}  // namespace
}  // namespace trelvin
