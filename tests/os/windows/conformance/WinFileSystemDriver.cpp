// The file service's conformance driver for Win32, in a folder of its own in the prefix's
// temporary folder.
#include <cctype>
#include <filesystem>
#include <fstream>

#include "conformance/FileSystemDriver.h"
#include "os/windows/WinApi.h"
#include "os/windows/WinText.h"
#include "os/windows/files/WinFileSystem.h"

namespace trelvin::conformance {
namespace {

class WinFileSystemDriver : public FileSystemDriver {
 public:
  ~WinFileSystemDriver() override {
    std::error_code ignored;
    for (const std::wstring& dir : dirs_) std::filesystem::remove_all(dir, ignored);
  }
  FileSystem& Files() override { return files_; }
  std::string NewFolder() override {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::string dir = Narrow(temp) + "trelvin-files-" +
                            std::to_string(GetCurrentProcessId()) + "-" +
                            std::to_string(dirs_.size()) + "\\";
    dirs_.push_back(Widen(dir));
    CreateDirectoryW(dirs_.back().c_str(), nullptr);
    return dir;
  }
  void PutHidden(const std::string& dir) override {
    const std::wstring path = Widen(dir + "hidden.jpg");
    std::ofstream(std::filesystem::path(path), std::ios::binary) << "h";
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
  }
  // Names compare without case.
  std::vector<std::string> SameFile(const std::string& dir, const std::string& name) override {
    std::string upper = name;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return {dir + upper};
  }
  char Separator() override { return '\\'; }
  std::string ProgramName() override { return "windows_conformance.exe"; }

 private:
  WinFileSystem files_;
  std::vector<std::wstring> dirs_;
};

}  // namespace

std::unique_ptr<FileSystemDriver> MakeFileSystemDriver() {
  return std::make_unique<WinFileSystemDriver>();
}

}  // namespace trelvin::conformance
