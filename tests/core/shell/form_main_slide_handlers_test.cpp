// The small handlers of the settings window and the directory picker, on fakes.
#include <gtest/gtest.h>

#include "core/shell/FormMainSlide.h"
#include "core/slideshow/FormSlideShow.h"
#include "fakes/FakePlatform.h"

namespace trelvin {
namespace {

class FormMainSlideHandlersTest : public ::testing::Test {
 protected:
  void SetUp() override { platform_.runtime.Events(form_).Load(); }
  fakes::FakePlatform platform_;
  FormMainSlide form_{platform_.services, "/c"};
};

TEST_F(FormMainSlideHandlersTest, ValueLabelsFollowTheScrollBarsWithTheLocalesSeparator) {
  form_.hscrShow.SetValue(25);
  EXPECT_EQ(form_.lblShow.Caption(), "2.5 seconds");
  form_.hscrShow.SetValue(600);
  EXPECT_EQ(form_.lblShow.Caption(), "60.0 seconds");
  form_.hscrShow.SetValue(1);
  EXPECT_EQ(form_.lblShow.Caption(), "0.1 seconds");
  form_.hscrCapture.SetValue(1);
  EXPECT_EQ(form_.lblCapture.Caption(), "1 seconds");
  form_.hScrCompression.SetValue(100);
  EXPECT_EQ(form_.lblCompression.Caption(), "100%");
  platform_.locale.separator = ",";
  form_.hscrShow.SetValue(25);
  EXPECT_EQ(form_.lblShow.Caption(), "2,5 seconds");
}

TEST_F(FormMainSlideHandlersTest, PickerSetsPathWithOneTrailingSlashAndCancelChangesNothing) {
  const std::string before = form_.AppPath;
  platform_.folder_dialog.result = "";
  form_.btnDir_Click();
  EXPECT_EQ(form_.AppPath, before);
  EXPECT_EQ(form_.lblPath.Caption(), before);
  EXPECT_EQ(platform_.folder_dialog.titles.back(), "Select the directory to store the captures");
  EXPECT_EQ(platform_.folder_dialog.owners.back(), &form_);

  platform_.folder_dialog.result = NativePath("/home/u/Pics");
  form_.btnDir_Click();
  EXPECT_EQ(form_.AppPath, NativePath("/home/u/Pics/"));
  EXPECT_EQ(form_.lblPath.Caption(), NativePath("/home/u/Pics/"));
  EXPECT_EQ(form_.lblPath.ToolTipText(), NativePath("/home/u/Pics/"));

  platform_.folder_dialog.result = NativePath("/");
  form_.btnDir_Click();
  EXPECT_EQ(form_.AppPath, NativePath("/"));

  form_.Unload();
  EXPECT_EQ(platform_.settings.values.at("Path"), NativePath("/"));
}

TEST_F(FormMainSlideHandlersTest, LinksOpenThroughTheShellAndFailuresAreSilent) {
  platform_.shell.result = false;
  form_.lblPath_DblClick();
  form_.lblCredits_Click();
  ASSERT_EQ(platform_.shell.calls.size(), 2u);
  EXPECT_EQ(platform_.shell.calls[0].target, form_.lblPath.Caption());
  EXPECT_EQ(platform_.shell.calls[0].show_command, kSwShowNormal);
  EXPECT_EQ(platform_.shell.calls[1].target, NativePath("/opt/trelvin/about/index.html"));
  EXPECT_NE(form_.lblCredits.ToolTipText(), platform_.shell.calls[1].target);
  EXPECT_FALSE(platform_.shell.calls[0].program);
  EXPECT_FALSE(platform_.shell.calls[1].program);
  EXPECT_EQ(form_.lblCredits.Caption().rfind("2002 by ", 0), 0u);
}

TEST_F(FormMainSlideHandlersTest, OpenerHandsTheShowIntervalToTheSlideShowOwnedByThisWindow) {
  form_.hscrShow.SetValue(25);
  int intervals_seen = -1;
  platform_.runtime.modal_script = [&](Form& shown) {
    intervals_seen = static_cast<FormSlideShow&>(shown).Interval;
  };
  form_.btnShow_Click();
  EXPECT_EQ(intervals_seen, 25);
  EXPECT_EQ(platform_.runtime.modal_owners.back(), &form_);
  // The same object serves the next show.
  FormSlideShow* first = &form_.formSlideShow();
  form_.btnShow_Click();
  EXPECT_EQ(&form_.formSlideShow(), first);
}

}  // namespace
}  // namespace trelvin
