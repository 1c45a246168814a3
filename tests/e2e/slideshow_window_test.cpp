// The full-screen slide show on the real program, under its own X server and window manager.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "e2e/Harness.h"
#include "e2e/SlideShowHelpers.h"

namespace trelvin::e2e {
namespace {

namespace fs = std::filesystem;

std::string Shot(const std::string& name) { return std::string(TRELVIN_BUILD_DIR) + "/" + name; }

class SlideShowWindowTest : public PinkPictureTest {
 protected:
  // Waits for the show to display the centred picture on its background.
  bool WaitForCentred() { return WaitForColours(display_, kCentredPink); }

  // Answers the open question box: "y" for Yes, Return for its default (No).
  bool Answer(const std::string& key) {
    std::string id;
    if (!display_.WaitForWindow("^TrelvinShow$", &id)) return false;
    display_.Xdotool("windowactivate --sync " + id);
    display_.Xdotool("key --clearmodifiers " + key);
    // Gone, or followed by another box of the same caption.
    return WaitFor([&] { return display_.FindWindow("^TrelvinShow$") != id; });
  }
};

TEST_F(SlideShowWindowTest, CentresStretchesAndAKeyEndsTheScreenSaver) {
  Program program(display_, home_, {"/s"});
  ASSERT_TRUE(WaitForCentred()) << "the picture did not appear centred on the dark blue";
  display_.SavePng(Shot("e2e-slideshow-centred.png"));

  display_.Xdotool("key --clearmodifiers s");
  ASSERT_TRUE(WaitForColours(display_, kStretchedPink))
      << "S did not stretch the picture over the screen";
  display_.SavePng(Shot("e2e-slideshow-stretched.png"));

  // A mouse move changes nothing; a key outside the table ends the show and the program.
  display_.Xdotool("mousemove 100 100");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_TRUE(program.Running());
  display_.Xdotool("key --clearmodifiers x");
  EXPECT_EQ(program.Wait(), 0);
}

TEST_F(SlideShowWindowTest, DeleteRemovesTheFileOnlyWhenAnsweredYes) {
  Program program(display_, home_, {"/s"});
  ASSERT_TRUE(WaitForCentred());
  display_.Xdotool("key --clearmodifiers Delete");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  display_.SavePng(Shot("e2e-slideshow-question.png"));
  ASSERT_TRUE(Answer("Return"));  // No is the default button
  EXPECT_TRUE(fs::exists(pictures_ / "pink.jpg"));

  display_.Xdotool("key --clearmodifiers Delete");
  ASSERT_TRUE(Answer("y"));
  EXPECT_TRUE(WaitFor([&] { return !fs::exists(pictures_ / "pink.jpg"); }));
  // The picture stays on screen and the show goes on.
  EXPECT_TRUE(WaitForCentred());
  EXPECT_TRUE(program.Running());
  display_.Xdotool("key --clearmodifiers Escape");
  EXPECT_EQ(program.Wait(), 0);
}

TEST_F(SlideShowWindowTest, WallpaperSetsTheRootWindowBackground) {
  Program program(display_, home_, {"/s"}, {{"XDG_CURRENT_DESKTOP", ""}});
  ASSERT_TRUE(WaitForCentred());
  display_.Xdotool("key --clearmodifiers w");
  ASSERT_TRUE(Answer("y"));
  ASSERT_TRUE(Answer("Return"));  // the notice
  EXPECT_TRUE(fs::exists(home_.Root() / "data/Trelvin/wallpaper.bmp"));
  display_.Xdotool("key --clearmodifiers Escape");
  ASSERT_EQ(program.Wait(), 0);

  // The background outlives the program that set it.
  const std::string property =
      e2e::Run(display_.Env() + "xprop -root _XROOTPMAP_ID ESETROOT_PMAP_ID").output;
  EXPECT_NE(property.find("_XROOTPMAP_ID(PIXMAP): pixmap id #"), std::string::npos) << property;
  EXPECT_NE(property.find("ESETROOT_PMAP_ID(PIXMAP): pixmap id #"), std::string::npos) << property;
  EXPECT_TRUE(WaitForColours(display_, {{{0, 0}, kPink}, {{700, 500}, kPink}}));
  display_.SavePng(Shot("e2e-slideshow-wallpaper.png"));
}

TEST_F(SlideShowWindowTest, PrintSendsThePageToTheDefaultPrinter) {
  PrivateCups cups(home_.Root() / "cups");
  if (!cups.Problem().empty()) GTEST_SKIP() << "no CUPS for this test: " << cups.Problem();
  Program program(display_, home_, {"/s"}, {{"CUPS_SERVER", cups.Server()}});
  ASSERT_TRUE(WaitForCentred());
  display_.Xdotool("key --clearmodifiers p");
  ASSERT_TRUE(Answer("y"));
  std::string document;
  const bool printed = WaitFor(
      [&] {
        for (const auto& entry : fs::directory_iterator(cups.OutputDir())) {
          std::ifstream in(entry.path(), std::ios::binary);
          document.assign(std::istreambuf_iterator<char>(in), {});
          if (document.size() > 4) return true;
        }
        return false;
      },
      std::chrono::seconds(20));
  ASSERT_TRUE(printed) << "no job reached the printer";
  EXPECT_EQ(document.substr(0, 4), "%PDF");
  display_.Xdotool("key --clearmodifiers Escape");
  EXPECT_EQ(program.Wait(), 0);
}

}  // namespace
}  // namespace trelvin::e2e
