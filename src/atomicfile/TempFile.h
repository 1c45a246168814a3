#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace trelvin {

// A file written whole or not at all: the bytes go to a hidden temporary file beside the target
// (so the final rename stays on one file system), which replaces the target only on Commit().
// Until then, and whenever a step fails, the target is untouched and the temporary file is
// removed when the object goes. Shared by the file service and the converter library; each
// operating system has its own implementation file, chosen by the build.
class TempFile {
 public:
  // Permission bits meaning "as a newly created file gets them" (the umask applies).
  static constexpr int kDefaultPermissions = -1;

  explicit TempFile(const std::string& target);
  ~TempFile();
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  // Whether the temporary file was created; nothing else works without it.
  bool ok() const { return handle_ >= 0; }
  // Appends all `size` bytes, or reports failure.
  bool Write(const void* data, std::size_t size);
  // Moves the write position to `offset` bytes from the start, for formats whose header is
  // completed once the rest is written.
  bool Seek(std::uint64_t offset);
  // Gives the file `permissions` (POSIX bits; ignored where files have none), closes it and puts
  // it in the target's place. False when any of that fails; the target is then as before.
  bool Commit(int permissions = kDefaultPermissions);
  // From now on Commit() returns only once the bytes and the new name are on the disk (the file
  // and then its directory flushed), so a power cut after it never finds an empty or partial
  // file. Costs a disk flush, so only files that must last ask for it.
  void RequireDurable() { durable_ = true; }

 private:
  std::string base_;              // the target's file name
  std::string name_;              // the temporary file's name in the same directory
  std::intptr_t directory_ = -1;  // the target's directory, opened once
  std::intptr_t handle_ = -1;     // the temporary file while open
  bool created_ = false;
  bool committed_ = false;
  bool durable_ = false;
};

// Writes the chunks `next` yields, until an empty one, as the whole new content of `path`:
// all of it or, when any step fails, nothing (the old file stays as it was).
bool WriteWholeFile(const std::string& path,
                    const std::function<std::span<const std::uint8_t>()>& next);

}  // namespace trelvin
