#pragma once

// What the conformance suites ask of a system's files: each system's tests define these once
// (tests/os/<system>/conformance/).
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/services/FileSystem.h"

namespace trelvin::conformance {

// The system's file service.
std::unique_ptr<FileSystem> MakeFileSystem();
// A new empty folder of the test's own, with its trailing separator.
std::string NewFolder();
// Makes a file in `dir` that the system hides from its user (a dot name, the hidden attribute)
// and whose name would match "*.jpg".
void PutHidden(const std::string& dir);
// Other paths of the file `dir` + `name` that name the same file on this system.
std::vector<std::string> SameFile(const std::string& dir, const std::string& name);
// The separator of this system's paths.
char Separator();
// The file name of this test program.
std::string ProgramName();

// The service's paths are UTF-8 on both systems.
inline std::filesystem::path Utf8(const std::string& path) {
  return std::u8string(reinterpret_cast<const char8_t*>(path.data()), path.size());
}

// A folder of the test's own, gone with everything in it when this goes.
struct Folder {
  Folder() = default;
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;
  ~Folder() {
    std::error_code ignored;
    std::filesystem::remove_all(Utf8(path), ignored);
  }
  // Writes the file `name` with `bytes`; its path.
  std::string Put(const std::string& name, std::string_view bytes) const {
    std::ofstream(Utf8(path + name), std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path + name;
  }
  std::string Put(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    return Put(name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  }
  std::string Get(const std::string& name) const {
    std::ifstream in(Utf8(path + name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  std::vector<std::uint8_t> GetBytes(const std::string& name) const {
    const std::string bytes = Get(name);
    return {bytes.begin(), bytes.end()};
  }
  // Every file in the folder, sorted, hidden ones too, so that temporary files left behind show.
  std::vector<std::string> Names() const;

  const std::string path = NewFolder();
};

inline std::vector<std::string> Folder::Names() const {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(Utf8(path))) {
    if (e.is_directory()) continue;
    const std::u8string name = e.path().filename().u8string();
    names.emplace_back(name.begin(), name.end());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace trelvin::conformance
