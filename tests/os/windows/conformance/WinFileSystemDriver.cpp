// The file service's conformance driver for Win32, in folders of their own in the prefix's
// temporary folder.
#include <cctype>
#include <filesystem>
#include <fstream>

#include "conformance/FileSystemDriver.h"
#include "os/windows/WinApi.h"
#include "os/windows/WinText.h"
#include "os/windows/files/WinFileSystem.h"

namespace trelvin::conformance {

std::unique_ptr<FileSystem> MakeFileSystem() { return std::make_unique<WinFileSystem>(); }

std::string NewFolder() {
  static int made = 0;
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::string dir = Narrow(temp) + "trelvin-files-" + std::to_string(GetCurrentProcessId()) +
                          "-" + std::to_string(made++) + "\\";
  CreateDirectoryW(Widen(dir).c_str(), nullptr);
  return dir;
}

void PutHidden(const std::string& dir) {
  const std::wstring path = Widen(dir + "hidden.jpg");
  std::ofstream(std::filesystem::path(path), std::ios::binary) << "h";
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
}

// Names compare without case.
std::vector<std::string> SameFile(const std::string& dir, const std::string& name) {
  std::string upper = name;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return {dir + upper};
}

char Separator() { return '\\'; }

std::string ProgramName() { return "windows_conformance.exe"; }

}  // namespace trelvin::conformance
