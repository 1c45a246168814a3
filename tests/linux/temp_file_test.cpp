// The shared temporary-file writer on a real directory: whole or nothing.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "atomicfile/TempFile.h"

namespace trelvin {
namespace {

namespace fs = std::filesystem;

class TempFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "trelvin-temp-XXXXXX").string();
    dir_ = std::string(::mkdtemp(pattern.data())) + "/";
    std::ofstream(dir_ + "a.jpg", std::ios::binary) << "old";
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Read(const std::string& name) {
    std::ifstream in(dir_ + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename());
    return names;
  }
  std::string dir_;
};

TEST_F(TempFileTest, UncommittedWriteLeavesTheTargetAndNoTemporaryFile) {
  {
    TempFile temp(dir_ + "a.jpg");
    ASSERT_TRUE(temp.ok());
    ASSERT_TRUE(temp.Write("new", 3));
    // Written beside the target, hidden, while the target still holds the old bytes.
    EXPECT_EQ(Names().size(), 2u);
    EXPECT_EQ(Read("a.jpg"), "old");
  }
  EXPECT_EQ(Names(), (std::vector<std::string>{"a.jpg"}));
  EXPECT_EQ(Read("a.jpg"), "old");
}

TEST_F(TempFileTest, CommitReplacesTheTargetWholeWithTheGivenPermissions) {
  TempFile temp(dir_ + "a.jpg");
  ASSERT_TRUE(temp.Write("first ", 6));
  ASSERT_TRUE(temp.Write("second", 6));
  ASSERT_TRUE(temp.Commit(0640));
  EXPECT_EQ(Read("a.jpg"), "first second");
  EXPECT_EQ(Names(), (std::vector<std::string>{"a.jpg"}));
  struct stat st {};
  ASSERT_EQ(::stat((dir_ + "a.jpg").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  // Nothing more can be written or committed once it is in place.
  EXPECT_FALSE(temp.Write("x", 1));
  EXPECT_FALSE(temp.Commit());
}

TEST_F(TempFileTest, MissingDirectoryOrNameFailsEveryStep) {
  for (const std::string& target : {dir_ + "missing/a.jpg", dir_}) {
    TempFile temp(target);
    EXPECT_FALSE(temp.ok()) << target;
    EXPECT_FALSE(temp.Write("x", 1)) << target;
    EXPECT_FALSE(temp.Commit()) << target;
  }
  EXPECT_EQ(Names(), (std::vector<std::string>{"a.jpg"}));
}

}  // namespace
}  // namespace trelvin
