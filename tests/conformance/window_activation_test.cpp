// How the capture finds the emulator's window, checked on each system (the fakes, X11 with a
// window manager, Win32 under Wine): the window whose title is exactly the one sought, else the
// first whose title begins with it, is activated and gets one Enter; nothing else matches.
#include <gtest/gtest.h>

#include "conformance/WindowActivationDriver.h"

namespace trelvin::conformance {
namespace {

const std::string kTitle = "Trelvin Stand-in Station";

class WindowActivationTest : public ::testing::Test {
 protected:
  std::unique_ptr<WindowActivationDriver> driver_ = MakeWindowActivationDriver();
  WindowActivation& windows_ = driver_->Service();
};

TEST_F(WindowActivationTest, ExactTitleWinsOverALongerOneAndGetsOneEnter) {
  // The longer title comes last, so it is the one a window manager focuses on its own.
  ASSERT_TRUE(driver_->Show({kTitle, kTitle + " - Game"}));
  ASSERT_TRUE(windows_.ActivateWindow(kTitle));
  EXPECT_TRUE(driver_->BecomesActive(kTitle));
  ASSERT_TRUE(windows_.SendEnter());
  EXPECT_EQ(driver_->Enters(kTitle, 1), 1);
  EXPECT_EQ(driver_->Enters(kTitle + " - Game", 0), 0);
}

TEST_F(WindowActivationTest, TitleThatBeginsWithTheTextWhenNoneEqualsIt) {
  ASSERT_TRUE(driver_->Show({kTitle + " 1.41", "Other"}));
  EXPECT_FALSE(windows_.ActivateWindow("Stand-in Station"));  // contained, not at the start
  ASSERT_TRUE(windows_.ActivateWindow(kTitle));
  EXPECT_TRUE(driver_->BecomesActive(kTitle + " 1.41"));
  ASSERT_TRUE(windows_.SendEnter());
  EXPECT_EQ(driver_->Enters(kTitle + " 1.41", 1), 1);
  EXPECT_EQ(driver_->Enters("Other", 0), 0);
}

TEST_F(WindowActivationTest, NoMatchingWindow) {
  EXPECT_FALSE(windows_.ActivateWindow("No Window Has This Title 7f3a"));
  EXPECT_FALSE(windows_.ActivateWindow(""));
}

}  // namespace
}  // namespace trelvin::conformance
