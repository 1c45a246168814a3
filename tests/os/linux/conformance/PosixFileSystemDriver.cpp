// The file service's conformance driver for POSIX, in folders under the temporary folder.
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "conformance/FileSystemDriver.h"
#include "os/linux/files/PosixFileSystem.h"

namespace trelvin::conformance {

namespace fs = std::filesystem;

std::unique_ptr<FileSystem> MakeFileSystem() { return std::make_unique<PosixFileSystem>(); }

std::string NewFolder() {
  std::string pattern = (fs::temp_directory_path() / "trelvin-fs-XXXXXX").string();
  return std::string(::mkdtemp(pattern.data())) + "/";
}

void PutHidden(const std::string& dir) { std::ofstream(dir + ".hidden.jpg") << "h"; }

// "./" in the path, and a hard and a symbolic link in a folder of their own.
std::vector<std::string> SameFile(const std::string& dir, const std::string& name) {
  fs::create_directory(dir + "links");
  fs::create_hard_link(dir + name, dir + "links/" + name);
  fs::create_symlink(dir + name, dir + "links/" + name + ".symlink");
  return {dir + "./" + name, dir + "links/" + name, dir + "links/" + name + ".symlink"};
}

char Separator() { return '/'; }

std::string ProgramName() { return "conformance_tests"; }

}  // namespace trelvin::conformance
