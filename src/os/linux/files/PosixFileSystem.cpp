#include "os/linux/files/PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "atomicfile/TempFile.h"
#include "core/base/PatternMatch.h"

namespace trelvin {

namespace {

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

bool WriteFileAtomically(const std::string& path, const std::uint8_t* data, std::size_t size) {
  TempFile temp(path);
  return temp.Write(data, size) && temp.Commit();
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
    if (!temp.Write(buffer, static_cast<std::size_t>(n))) return false;
  }
  // The permission bits only: a copy never carries set-user-id, set-group-id or sticky bits.
  return temp.Commit(static_cast<int>(src.st_mode & 0777));
}

bool PosixFileSystem::WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  return WriteFileAtomically(path, bytes.data(), bytes.size());
}

bool PosixFileSystem::WriteFileChunks(const std::string& path,
                                      const std::function<std::span<const std::uint8_t>()>& next) {
  return WriteWholeFile(path, next);
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

bool PosixFileSystem::CanWriteDirectory(const std::string& directory) {
  struct stat st {};
  if (::stat(directory.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  // access() answers for this user's rights and a read-only mount alike.
  return ::access(directory.c_str(), W_OK | X_OK) == 0;
}

bool PosixFileSystem::CreateDirectories(const std::string& directory) {
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  return std::filesystem::is_directory(directory, error);
}

bool PosixFileSystem::AppendToFile(const std::string& path, const std::string& text) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  return ::close(fd) == 0 && done == text.size();
}

bool PosixFileSystem::RenameFile(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace trelvin
