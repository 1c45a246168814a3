// The file service's conformance driver for POSIX, in a temporary folder.
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "conformance/FileSystemDriver.h"
#include "os/linux/files/PosixFileSystem.h"

namespace trelvin::conformance {
namespace {

namespace fs = std::filesystem;

class PosixFileSystemDriver : public FileSystemDriver {
 public:
  ~PosixFileSystemDriver() override {
    std::error_code ignored;
    for (const std::string& dir : dirs_) fs::remove_all(dir, ignored);
  }
  FileSystem& Files() override { return files_; }
  std::string NewFolder() override {
    std::string pattern = (fs::temp_directory_path() / "trelvin-fs-XXXXXX").string();
    dirs_.push_back(std::string(::mkdtemp(pattern.data())));
    return dirs_.back() + "/";
  }
  void PutHidden(const std::string& dir) override { std::ofstream(dir + ".hidden.jpg") << "h"; }
  // "./" in the path, and a hard and a symbolic link in a folder of their own.
  std::vector<std::string> SameFile(const std::string& dir, const std::string& name) override {
    fs::create_directory(dir + "links");
    fs::create_hard_link(dir + name, dir + "links/" + name);
    fs::create_symlink(dir + name, dir + "links/" + name + ".symlink");
    return {dir + "./" + name, dir + "links/" + name, dir + "links/" + name + ".symlink"};
  }
  char Separator() override { return '/'; }
  std::string ProgramName() override { return "conformance_tests"; }

 private:
  PosixFileSystem files_;
  std::vector<std::string> dirs_;
};

}  // namespace

std::unique_ptr<FileSystemDriver> MakeFileSystemDriver() {
  return std::make_unique<PosixFileSystemDriver>();
}

}  // namespace trelvin::conformance
