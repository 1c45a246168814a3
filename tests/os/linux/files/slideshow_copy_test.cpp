// The copy command on the real file system, with a file larger than a copy buffer. Onto itself:
// the form on the fakes (slideshow_file_commands_test.cpp) and the file service on its own
// (conformance/file_system_test.cpp).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/base/VirtualKeys.h"
#include "core/shell/FormMainSlide.h"
#include "core/slideshow/FormSlideShow.h"
#include "fakes/FakePlatform.h"
#include "os/linux/files/PosixFileSystem.h"
#include "support/PosixFiles.h"

namespace trelvin {
namespace {

namespace fs = std::filesystem;

using test_support::ReadFile;

// The fakes, with the real file system in place of the fake one.
class CopyCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir_ / "pics");
    std::ofstream(dir_ / "pics/shot.jpg", std::ios::binary) << std::string(100000, 'x') << "end";
    platform_.pictures.sizes[(dir_ / "pics/shot.jpg").string()] = {320, 200};
    platform_.message_box.answers = {kIdYes};
  }

  // Opens the show over the pictures with the program in `program_dir` and presses C.
  void CopyWithProgramIn(const fs::path& program_dir) {
    files_.exe_dir = program_dir.string();
    main_.AppPath = (dir_ / "pics").string() + "/";
    platform_.runtime.modal_script = [&](Form&) {
      std::int16_t key = kVkC;
      main_.formSlideShow().Form_KeyDown(key, 0);
    };
    main_.btnShow_Click();
  }

  struct ProgramDirFileSystem : PosixFileSystem {
    std::string ExecutableDirectory() override { return exe_dir; }
    std::string exe_dir;
  };

  test_support::TempDir temp_{"trelvin-copy"};
  const fs::path dir_ = temp_.path();
  fakes::FakePlatform platform_;
  ProgramDirFileSystem files_;
  Services services_ = platform_.With(&files_);
  FormMainSlide main_{services_, ""};
};

TEST_F(CopyCommandTest, CopiesIntoTheProgramsDirectoryReplacingAnOldCopy) {
  fs::create_directories(dir_ / "program");
  std::ofstream(dir_ / "program/shot.jpg") << "old";
  CopyWithProgramIn(dir_ / "program");
  EXPECT_EQ(ReadFile(dir_ / "program/shot.jpg"), ReadFile(dir_ / "pics/shot.jpg"));
}

}  // namespace
}  // namespace trelvin
