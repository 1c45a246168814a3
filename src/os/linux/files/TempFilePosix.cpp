// The temporary-file writer on POSIX systems. The file is made, renamed and removed relative to
// the directory opened once, so a directory that is moved or replaced meanwhile never keeps a
// stray temporary file.
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "atomicfile/TempFile.h"
#include "atomicfile/TempName.h"

namespace trelvin {

namespace {

// A random name part, so writers of the same target never share a temporary file.
std::string RandomSuffix() {
  static const char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  static unsigned counter = 0;
  unsigned char bytes[6] = {};
  if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
    bytes[0] = static_cast<unsigned char>(::getpid());
  }
  bytes[5] = static_cast<unsigned char>(bytes[5] + counter++);
  std::string suffix;
  for (unsigned char b : bytes) suffix += kChars[b % (sizeof kChars - 1)];
  return suffix;
}

// The rename into place: the one step whose meaning differs between systems (this one replaces
// an existing target in one step).
bool ReplaceTarget(int directory, const std::string& from, const std::string& to) {
  return ::renameat(directory, from.c_str(), directory, to.c_str()) == 0;
}

// The mode a newly created file gets: 0666 less the umask. The umask is read from the kernel's
// status of the process, never set: setting it, even for a moment, would change the mode of files
// other threads (or a program that loaded the converter) create meanwhile. Where the status cannot
// be read, the file stays private to its owner.
mode_t NewFileMode() {
  const int fd = ::open("/proc/self/status", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0600;
  char text[4096];
  ssize_t size = 0;
  while (size < static_cast<ssize_t>(sizeof text) - 1) {
    const ssize_t n = ::read(fd, text + size, sizeof text - 1 - static_cast<std::size_t>(size));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    size += n;
  }
  ::close(fd);
  text[size] = '\0';
  const char* line = std::strstr(text, "\nUmask:");
  if (!line) return 0600;
  char* end = nullptr;
  const unsigned long mask = std::strtoul(line + 7, &end, 8);
  if (end == line + 7 || mask > 0777) return 0600;
  return static_cast<mode_t>(0666 & ~mask);
}

}  // namespace

TempFile::TempFile(const std::string& target) {
  const auto slash = target.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : target.substr(0, slash + 1);
  base_ = slash == std::string::npos ? target : target.substr(slash + 1);
  directory_ = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (directory_ < 0 || base_.empty()) return;
  const int directory = static_cast<int>(directory_);
  for (int attempt = 0; attempt < 100; ++attempt) {
    name_ = TempName(base_, ".", RandomSuffix(), "");
    handle_ = ::openat(directory, name_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (handle_ >= 0 || errno != EEXIST) break;
  }
  created_ = handle_ >= 0;
}

TempFile::~TempFile() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
  if (created_ && !committed_) ::unlinkat(static_cast<int>(directory_), name_.c_str(), 0);
  if (directory_ >= 0) ::close(static_cast<int>(directory_));
}

bool TempFile::Write(const void* data, std::size_t size) {
  if (handle_ < 0) return false;
  const auto* p = static_cast<const std::uint8_t*>(data);
  while (size > 0) {
    const ssize_t n = ::write(static_cast<int>(handle_), p, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool TempFile::Seek(std::uint64_t offset) {
  if (handle_ < 0 || offset > static_cast<std::uint64_t>(INT64_MAX)) return false;
  const off_t to = static_cast<off_t>(offset);
  return ::lseek(static_cast<int>(handle_), to, SEEK_SET) == to;
}

bool TempFile::Commit(int permissions) {
  if (handle_ < 0) return false;
  const int fd = static_cast<int>(handle_);
  const mode_t mode =
      permissions == kDefaultPermissions ? NewFileMode() : static_cast<mode_t>(permissions & 07777);
  // The mode is set on the descriptor: the file was made 0600, so nobody else could open it
  // while it was being written.
  if (::fchmod(fd, mode) != 0) return false;
  // The bytes (and the length that finds them) reach the disk before the new name does, so the
  // name never stands for an empty file.
  if (durable_ && ::fdatasync(fd) != 0) return false;
  handle_ = -1;
  if (::close(fd) != 0) return false;
  if (!ReplaceTarget(static_cast<int>(directory_), name_, base_)) return false;
  committed_ = true;
  // The rename itself is on the disk only once the directory is.
  return !durable_ || ::fsync(static_cast<int>(directory_)) == 0;
}

}  // namespace trelvin
