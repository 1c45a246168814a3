#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace trelvin {

// Files as the program uses them. Paths are plain text in the system's own form; directories are
// held with a trailing separator (PathRules.h).
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // The file's length in bytes, or nullopt when it is missing or cannot be queried.
  virtual std::optional<std::int64_t> FileLength(const std::string& path) = 0;
  // Removes the file; false when it could not be removed.
  virtual bool DeleteFile(const std::string& path) = 0;
  // Copies `from` to `to`, replacing `to` whole (never truncating it part-way); a copy onto the
  // same file fails and leaves it untouched.
  virtual bool CopyFile(const std::string& from, const std::string& to) = 0;
  // Writes `bytes` as the file `path`, replacing an earlier file; false on any failure.
  virtual bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) = 0;
  // Writes the chunks that `next` hands out, one after another until it gives an empty one, as
  // the file `path`, replacing an earlier file whole; false on any failure.
  virtual bool WriteFileChunks(const std::string& path,
                               const std::function<std::span<const std::uint8_t>()>& next) = 0;
  // The names (without directory) of the normal, non-hidden files of `directory` that match
  // `pattern` ("*.ext", case-insensitive), in the order the directory listing yields them. At most
  // `limit` names; an unreadable directory gives none.
  virtual std::vector<std::string> FindFiles(const std::string& directory,
                                             const std::string& pattern, std::size_t limit) = 0;
  // The directory of the running executable, without a trailing separator (except a root).
  virtual std::string ExecutableDirectory() = 0;
  // Whether this user may make files in `directory` now: it exists, is writable and not on a
  // read-only volume.
  virtual bool CanWriteDirectory(const std::string& directory) = 0;
  // Makes `directory` and its missing parents; true when it exists as a directory afterwards.
  virtual bool CreateDirectories(const std::string& directory) = 0;
  // Adds `text` at the end of the file, which is made when missing; false on any failure.
  virtual bool AppendToFile(const std::string& path, const std::string& text) = 0;
  // Renames `from` to `to`, replacing `to` in one step; false on any failure.
  virtual bool RenameFile(const std::string& from, const std::string& to) = 0;
};

// True when the file's length can be read and is greater than 0.
inline bool FileExists(FileSystem& files, const std::string& path) {
  const std::optional<std::int64_t> length = files.FileLength(path);
  return length.has_value() && *length > 0;
}

}  // namespace trelvin
