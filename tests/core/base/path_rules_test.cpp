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

// Each separator keeps its root (a drive's on Windows) and adds exactly one; the other system's
// separator is an ordinary character.
TEST(PathRulesTest, EachSeparatorKeepsTheRootAndAddsExactlyOne) {
  struct Case {
    const char* path;
    char sep;
    const char* with;
  };
  for (const Case& c : {Case{"C:\\", '\\', "C:\\"}, Case{"D:\\Pics", '\\', "D:\\Pics\\"},
                        Case{"D:\\Pics\\", '\\', "D:\\Pics\\"}, Case{"", '\\', "\\"},
                        Case{"D:/Pics/", '\\', "D:/Pics/\\"}, Case{"/", '/', "/"},
                        Case{"/home/u/Pics", '/', "/home/u/Pics/"}, Case{"", '/', "/"},
                        Case{"/home/u/Pics/", '/', "/home/u/Pics/"}, Case{"C:\\", '/', "C:\\/"},
                        Case{"C:", '\\', "C:\\"}}) {
    EXPECT_EQ(WithTrailingSeparator(c.path, c.sep), c.with) << c.path << " " << c.sep;
    EXPECT_EQ(EndsWithSeparator(c.path, c.sep), c.with == std::string(c.path)) << c.path;
  }
  EXPECT_EQ(JoinPath("C:\\", "VGS.EXE", '\\'), "C:\\VGS.EXE");
  EXPECT_EQ(JoinPath("C:\\Program Files\\Trelvin", "about", '\\'),
            "C:\\Program Files\\Trelvin\\about");
  EXPECT_EQ(JoinPath("", "a.jpg", '/'), "/a.jpg");
  EXPECT_EQ(JoinPath("/pics/", "a.jpg", '/'), "/pics/a.jpg");
  // The build's separator is one of the two.
  EXPECT_TRUE(kPathSeparator == '/' || kPathSeparator == '\\');
  std::string path = "x";
  EnsureTrailingSeparator(path);
  EXPECT_EQ(path, std::string("x") + kPathSeparator);
}

// The forms on this build's separator: every directory they keep ends with exactly one.
using FormDirectoriesTest = test_support::SlideShowFixture;

TEST_F(FormDirectoriesTest, ProgramDirectoryAndDefaultCaptureDirEndWithOneSeparator) {
  for (const std::string& dir : {NativePath("/opt/trelvin"), NativePath("/opt/trelvin/")}) {
    platform_.files.exe_dir = dir;
    EXPECT_EQ(ProgramDirectory(platform_.files), NativePath("/opt/trelvin/")) << dir;
    EXPECT_EQ(main_.DefaultCaptureDir(), NativePath("/opt/trelvin/")) << dir;
  }
  for (const std::string& dir : {NativePath("/"), std::string()}) {
    platform_.files.exe_dir = dir;
    EXPECT_EQ(main_.DefaultCaptureDir(), NativePath("/"));
  }
}

TEST_F(FormDirectoriesTest, CreditsPagesLieInTheAboutFolderOfTheProgramDirectory) {
  platform_.files.exe_dir = NativePath("/opt");
  FormMainSlide form(platform_.services, "/c");
  EXPECT_EQ(form.lblCredits.ToolTipText(), NativePath("/opt/about/author.html"));
  form.lblCredits_Click();
  ASSERT_EQ(platform_.shell.calls.size(), 1u);
  EXPECT_EQ(platform_.shell.calls[0].target, NativePath("/opt/about/index.html"));
}

TEST_F(FormDirectoriesTest, ShowDirectoriesGetOneSeparator) {
  struct Case {
    std::string app, exe, pictures, program;
  };
  for (const Case& c : {Case{NativePath("/pics"), NativePath("/opt/trelvin/"), NativePath("/pics/"),
                             NativePath("/opt/trelvin/")},
                        Case{"", "", NativePath("/"), NativePath("/")}}) {
    main_.AppPath = c.app;
    platform_.files.exe_dir = c.exe;
    Open([&](FormSlideShow& s) {
      EXPECT_EQ(s.PicturePath, c.pictures);
      EXPECT_EQ(s.ProgramPath, c.program);
    });
  }
}

}  // namespace
}  // namespace trelvin
