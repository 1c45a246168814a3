#include "platform/linux/ScreenCastToken.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace trelvin {

namespace {

constexpr std::size_t kMaxToken = 512;

bool WriteAll(int fd, const std::string& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

ScreenCastToken::ScreenCastToken(std::string path) : path_(std::move(path)) {}

std::string ScreenCastToken::DefaultPath() {
  std::string base;
  const char* config = std::getenv("XDG_CONFIG_HOME");
  // A relative XDG_CONFIG_HOME is invalid and ignored, as the settings store does.
  if (config && config[0] == '/') {
    base = config;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home ? home : "") + "/.config";
  }
  return base + "/Trelvin/screencast.token";
}

bool ScreenCastToken::Valid(const std::string& text) {
  if (text.empty() || text.size() > kMaxToken) return false;
  for (const char c : text) {
    if (c <= ' ' || c > '~') return false;
  }
  return true;
}

std::optional<std::string> ScreenCastToken::Load() const {
  std::ifstream in(path_, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text;
  // One byte past the longest token and its newline is enough to tell a damaged file.
  text.resize(kMaxToken + 2);
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  if (!text.empty() && text.back() == '\n') text.pop_back();
  if (!Valid(text)) return std::nullopt;
  return text;
}

bool ScreenCastToken::Save(const std::string& token) const {
  if (!Valid(token)) return false;
  const std::filesystem::path target(path_);
  std::error_code error;
  std::filesystem::create_directories(target.parent_path(), error);
  std::string temp = path_ + ".XXXXXX";
  // mkstemp makes the file with mode 0600 whatever the umask.
  const int fd = mkstemp(temp.data());
  if (fd < 0) return false;
  const bool written = fchmod(fd, 0600) == 0 && WriteAll(fd, token + "\n") && fsync(fd) == 0;
  const bool closed = close(fd) == 0;
  if (!written || !closed || rename(temp.c_str(), path_.c_str()) != 0) {
    unlink(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace trelvin
