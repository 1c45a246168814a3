#include "os/linux/capture/ScreenCastToken.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "atomicfile/TempFile.h"

namespace trelvin {

namespace {

constexpr std::size_t kMaxToken = 512;

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
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), error);
  // Made with mode 0600 from the start, so the token is never readable by others, not even
  // while it is being written.
  TempFile file(path_);
  const std::string line = token + "\n";
  return file.ok() && file.Write(line.data(), line.size()) && file.Commit(0600);
}

}  // namespace trelvin
