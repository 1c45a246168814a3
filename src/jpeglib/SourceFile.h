#pragma once

#include <cstdint>
#include <string>

#include "BmpReader.h"

namespace trelvin::bmp {

// The BMP file the converter reads, opened read-only. Paths given to it are in the temporary-file
// writer's encoding (UTF-8 on Windows, bytes on POSIX); WriterPath turns a caller's narrow path
// into that. Each operating system has its own implementation file, chosen by the build.
class SourceFile : public ByteSource {
 public:
  explicit SourceFile(const char* path);
  ~SourceFile() override;
  SourceFile(const SourceFile&) = delete;
  SourceFile& operator=(const SourceFile&) = delete;

  // Whether a regular file was opened.
  bool ok() const { return handle_ != kNoHandle; }
  std::uint64_t Size() const override { return size_; }
  bool ReadAt(std::uint64_t offset, void* out, std::size_t n) override;
  // Whether `path` names this very file (through any name), so writing there would destroy it.
  bool IsSameFile(const char* path) const;

  // `path`, given in the system's narrow encoding (the ANSI code page on Windows), as the
  // temporary-file writer takes paths; empty when it cannot be converted.
  static std::string WriterPath(const char* path);

 private:
  static constexpr std::intptr_t kNoHandle = -1;
  std::intptr_t handle_ = kNoHandle;
  std::uint64_t size_ = 0;
};

}  // namespace trelvin::bmp
