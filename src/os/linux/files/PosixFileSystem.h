#pragma once

#include "core/services/FileSystem.h"

namespace trelvin {

// Files through POSIX calls. Writes and copies go to a temporary file in the target directory
// that is renamed into place only when complete.
class PosixFileSystem : public FileSystem {
 public:
  std::optional<std::int64_t> FileLength(const std::string& path) override;
  bool DeleteFile(const std::string& path) override;
  bool CopyFile(const std::string& from, const std::string& to) override;
  bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) override;
  bool WriteFileChunks(const std::string& path,
                       const std::function<std::span<const std::uint8_t>()>& next) override;
  std::vector<std::string> FindFiles(const std::string& directory, const std::string& pattern,
                                     std::size_t limit) override;
  std::string ExecutableDirectory() override;
  bool CanWriteDirectory(const std::string& directory) override;
  bool CreateDirectories(const std::string& directory) override;
  bool AppendToFile(const std::string& path, const std::string& text) override;
  bool RenameFile(const std::string& from, const std::string& to) override;
};

// Writes `bytes` to `path` through a temporary file beside it; on failure nothing is left behind
// and an existing `path` is untouched.
bool WriteFileAtomically(const std::string& path, const std::uint8_t* data, std::size_t size);

}  // namespace trelvin
