// The directory rules with both platforms' separators, and the forms' directories built by them.
#include <gtest/gtest.h>

#include <string>

#include "core/SlideShowFixture.h"
#include "core/base/PathRules.h"
#include "core/services/ProgramDirectory.h"
#include "core/shell/FormMainSlide.h"
#include "fakes/FakePlatform.h"

namespace trelvin {
namespace {

TEST(PathRulesTest, BackslashKeepsDriveRootsAndAddsExactlyOneSeparator) {
  EXPECT_EQ(WithTrailingSeparator("C:\\", '\\'), "C:\\");
  EXPECT_EQ(WithTrailingSeparator("D:\\Pics", '\\'), "D:\\Pics\\");
  EXPECT_EQ(WithTrailingSeparator("D:\\Pics\\", '\\'), "D:\\Pics\\");
  EXPECT_EQ(WithTrailingSeparator("", '\\'), "\\");
  // The other platform's separator is an ordinary character here.
  EXPECT_EQ(WithTrailingSeparator("D:/Pics/", '\\'), "D:/Pics/\\");
  EXPECT_TRUE(EndsWithSeparator("C:\\", '\\'));
  EXPECT_FALSE(EndsWithSeparator("C:", '\\'));
  EXPECT_FALSE(EndsWithSeparator("", '\\'));
  EXPECT_EQ(JoinPath("C:\\", "VGS.EXE", '\\'), "C:\\VGS.EXE");
  EXPECT_EQ(JoinPath("C:\\Program Files\\Trelvin", "about", '\\'),
            "C:\\Program Files\\Trelvin\\about");
}

TEST(PathRulesTest, SlashKeepsTheRootAndAddsExactlyOneSeparator) {
  EXPECT_EQ(WithTrailingSeparator("/", '/'), "/");
  EXPECT_EQ(WithTrailingSeparator("/home/u/Pics", '/'), "/home/u/Pics/");
  EXPECT_EQ(WithTrailingSeparator("/home/u/Pics/", '/'), "/home/u/Pics/");
  EXPECT_EQ(WithTrailingSeparator("", '/'), "/");
  EXPECT_EQ(WithTrailingSeparator("C:\\", '/'), "C:\\/");
  EXPECT_EQ(JoinPath("", "a.jpg", '/'), "/a.jpg");
  EXPECT_EQ(JoinPath("/pics/", "a.jpg", '/'), "/pics/a.jpg");
}

TEST(PathRulesTest, BuildSeparatorIsOneOfTheTwo) {
  EXPECT_TRUE(kPathSeparator == '/' || kPathSeparator == '\\');
  std::string path = "x";
  EnsureTrailingSeparator(path);
  EXPECT_EQ(path, std::string("x") + kPathSeparator);
}

// The forms on this build's separator: every directory they keep ends with exactly one.
class FormDirectoriesTest : public test_support::SlideShowFixture {
 protected:
  static std::string Sep() { return std::string(1, kPathSeparator); }
};

TEST_F(FormDirectoriesTest, ProgramDirectoryAndDefaultCaptureDirEndWithOneSeparator) {
  const std::string sep = Sep();
  for (const std::string& dir :
       {sep + "opt" + sep + "trelvin", sep + "opt" + sep + "trelvin" + sep}) {
    platform_.files.exe_dir = dir;
    EXPECT_EQ(ProgramDirectory(platform_.files), sep + "opt" + sep + "trelvin" + sep) << dir;
    EXPECT_EQ(main_.DefaultCaptureDir(), sep + "opt" + sep + "trelvin" + sep) << dir;
  }
  platform_.files.exe_dir = sep;
  EXPECT_EQ(main_.DefaultCaptureDir(), sep);
  platform_.files.exe_dir = "";
  EXPECT_EQ(main_.DefaultCaptureDir(), sep);
}

TEST_F(FormDirectoriesTest, CreditsPagesLieInTheAboutFolderOfTheProgramDirectory) {
  const std::string sep = Sep();
  platform_.files.exe_dir = sep + "opt";
  FormMainSlide form(platform_.services, "/c");
  EXPECT_EQ(form.lblCredits.ToolTipText(), sep + "opt" + sep + "about" + sep + "author.html");
  form.lblCredits_Click();
  ASSERT_EQ(platform_.shell.calls.size(), 1u);
  EXPECT_EQ(platform_.shell.calls[0].target, sep + "opt" + sep + "about" + sep + "index.html");
}

TEST_F(FormDirectoriesTest, PickedDirectoryAndShowDirectoriesGetOneSeparator) {
  const std::string sep = Sep();
  platform_.folder_dialog.result = sep + "srv" + sep + "Pics";
  main_.btnDir_Click();
  EXPECT_EQ(main_.AppPath, sep + "srv" + sep + "Pics" + sep);
  platform_.folder_dialog.result = sep;
  main_.btnDir_Click();
  EXPECT_EQ(main_.AppPath, sep);

  main_.AppPath = sep + "pics";
  platform_.files.exe_dir = sep + "opt" + sep + "trelvin" + sep;
  Open([&](FormSlideShow& s) {
    EXPECT_EQ(s.PicturePath, sep + "pics" + sep);
    EXPECT_EQ(s.ProgramPath, sep + "opt" + sep + "trelvin" + sep);
  });
  main_.AppPath = "";
  platform_.files.exe_dir = "";
  Open([&](FormSlideShow& s) {
    EXPECT_EQ(s.PicturePath, sep);
    EXPECT_EQ(s.ProgramPath, sep);
  });
}

}  // namespace
}  // namespace trelvin
