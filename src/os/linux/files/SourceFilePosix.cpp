// The converter's source file on POSIX systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "SourceFile.h"

namespace trelvin::bmp {

SourceFile::SourceFile(const char* path) {
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return;
  }
  handle_ = fd;
  size_ = static_cast<std::uint64_t>(st.st_size);
}

SourceFile::~SourceFile() {
  if (handle_ != kNoHandle) ::close(static_cast<int>(handle_));
}

bool SourceFile::ReadAt(std::uint64_t offset, void* out, std::size_t n) {
  auto* p = static_cast<std::uint8_t*>(out);
  while (n > 0) {
    const ssize_t got = ::pread(static_cast<int>(handle_), p, n, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;  // an error, or the file shrank under us
    p += got;
    offset += static_cast<std::uint64_t>(got);
    n -= static_cast<std::size_t>(got);
  }
  return true;
}

bool SourceFile::IsSameFile(const char* path) const {
  struct stat mine {};
  struct stat other {};
  return ::fstat(static_cast<int>(handle_), &mine) == 0 && ::stat(path, &other) == 0 &&
         mine.st_dev == other.st_dev && mine.st_ino == other.st_ino;
}

std::string SourceFile::WriterPath(const char* path) { return path; }

}  // namespace trelvin::bmp
