#include "platform/linux/PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>

#include "platform/PatternMatch.h"

namespace trelvin {

namespace {

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// A random name part for temporary files.
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

// A temporary file beside `path`, removed on destruction unless committed. It is made, renamed
// and removed relative to the directory opened once, so a directory that is moved or replaced
// meanwhile never keeps a stray temporary file.
class TempFile {
 public:
  explicit TempFile(const std::string& path) : base_(BaseOf(path)) {
    dir_fd_ = ::open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir_fd_ < 0 || base_.empty()) return;
    for (int attempt = 0; attempt < 100; ++attempt) {
      name_ = "." + base_ + "." + RandomSuffix();
      fd_ = ::openat(dir_fd_, name_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
      if (fd_ >= 0 || errno != EEXIST) break;
    }
    created_ = fd_ >= 0;
  }
  ~TempFile() {
    if (fd_ >= 0) ::close(fd_);
    if (created_ && !committed_) ::unlinkat(dir_fd_, name_.c_str(), 0);
    if (dir_fd_ >= 0) ::close(dir_fd_);
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  bool ok() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  bool Commit(mode_t mode) {
    if (::fchmod(fd_, mode) != 0) return false;
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return false;
    if (::renameat(dir_fd_, name_.c_str(), dir_fd_, base_.c_str()) != 0) return false;
    committed_ = true;
    return true;
  }

 private:
  std::string base_;
  std::string name_;
  int dir_fd_ = -1;
  int fd_ = -1;
  bool created_ = false;
  bool committed_ = false;
};

mode_t DefaultFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, const std::uint8_t* data, std::size_t size) {
  TempFile temp(path);
  if (!temp.ok()) return false;
  if (!WriteAll(temp.fd(), data, size)) return false;
  return temp.Commit(DefaultFileMode());
}

std::optional<std::int64_t> PosixFileSystem::FileLength(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return std::nullopt;
  return static_cast<std::int64_t>(st.st_size);
}

bool PosixFileSystem::DeleteFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool PosixFileSystem::CopyFile(const std::string& from, const std::string& to) {
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  std::unique_ptr<int, void (*)(int*)> closer(new int(in), [](int* fd) {
    ::close(*fd);
    delete fd;
  });
  struct stat src {};
  if (::fstat(in, &src) != 0 || !S_ISREG(src.st_mode)) return false;
  struct stat dst {};
  if (::stat(to.c_str(), &dst) == 0 && dst.st_dev == src.st_dev && dst.st_ino == src.st_ino) {
    return false;  // the same file: copying would destroy it
  }
  TempFile temp(to);
  if (!temp.ok()) return false;
  std::uint8_t buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(in, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) break;
    if (!WriteAll(temp.fd(), buffer, static_cast<std::size_t>(n))) return false;
  }
  return temp.Commit(src.st_mode & 07777);
}

bool PosixFileSystem::WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  return WriteFileAtomically(path, bytes.data(), bytes.size());
}

bool PosixFileSystem::WriteFileChunks(const std::string& path,
                                      const std::function<std::span<const std::uint8_t>()>& next) {
  TempFile temp(path);
  if (!temp.ok()) return false;
  for (;;) {
    const std::span<const std::uint8_t> chunk = next();
    if (chunk.empty()) break;
    if (!WriteAll(temp.fd(), chunk.data(), chunk.size())) return false;
  }
  return temp.Commit(DefaultFileMode());
}

std::vector<std::string> PosixFileSystem::FindFiles(const std::string& directory,
                                                    const std::string& pattern, std::size_t limit) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
  if (!dir) return names;
  const int dir_fd = ::dirfd(dir);
  while (names.size() < limit) {
    errno = 0;
    const dirent* entry = ::readdir(dir);
    if (!entry) break;  // the end, or a failing listing: either way the search ends here
    const char* name = entry->d_name;
    if (name[0] == '.') continue;  // hidden, and "." and ".."
    if (!MatchesPattern(name, pattern)) continue;
    bool regular = entry->d_type == DT_REG;
    if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
      struct stat st {};
      regular = ::fstatat(dir_fd, name, &st, 0) == 0 && S_ISREG(st.st_mode);
    }
    if (regular) names.emplace_back(name);
  }
  ::closedir(dir);
  return names;
}

std::string PosixFileSystem::ExecutableDirectory() {
  char buffer[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return "";
  const std::string exe(buffer, static_cast<std::size_t>(n));
  return DirectoryOf(exe);
}

}  // namespace trelvin
