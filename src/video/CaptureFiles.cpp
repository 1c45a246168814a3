#include "video/CaptureFiles.h"

#include <algorithm>
#include <system_error>

namespace trelvin::video {

namespace fs = std::filesystem;

std::filesystem::path PathOf(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Of(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

bool IsStamp(const std::string& text) {
  return text.size() == 14 &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

namespace {

// "yyyymmddhhmmss.jpg" or "yyyymmddhhmmss-N.jpg" (N from 1 to 9999, as captures number them;
// the extension in either case), else false.
bool ParseCaptureName(const std::string& name, std::string& stamp, int& counter) {
  if (name.size() < 18) return false;
  std::string ext = name.substr(name.size() - 4);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
  if (ext != ".jpg") return false;
  const std::string base = name.substr(0, name.size() - 4);
  stamp = base.substr(0, 14);
  if (!IsStamp(stamp)) return false;
  counter = 0;
  if (base.size() == 14) return true;
  const std::string number = base.substr(15);
  if (base[14] != '-' || number.empty() || number.size() > 4 || number[0] == '0') return false;
  for (char c : number) {
    if (c < '0' || c > '9') return false;
    counter = counter * 10 + (c - '0');
  }
  return true;
}

}  // namespace

std::vector<CaptureFile> ListCaptures(const std::string& folder, const std::string& from,
                                      const std::string& to) {
  std::vector<CaptureFile> captures;
  std::error_code error;
  fs::directory_iterator it(PathOf(folder), error);
  for (; !error && it != fs::directory_iterator(); it.increment(error)) {
    CaptureFile capture;
    if (!ParseCaptureName(Utf8Of(it->path().filename()), capture.stamp, capture.counter)) continue;
    if (!from.empty() && capture.stamp < from) continue;
    if (!to.empty() && capture.stamp > to) continue;
    std::error_code kind_error;
    if (!it->is_regular_file(kind_error)) continue;
    capture.path = Utf8Of(it->path());
    captures.push_back(std::move(capture));
  }
  std::sort(captures.begin(), captures.end(), [](const CaptureFile& a, const CaptureFile& b) {
    return a.stamp != b.stamp ? a.stamp < b.stamp : a.counter < b.counter;
  });
  return captures;
}

std::string DefaultVideoPath(const std::string& folder, const std::string& first,
                             const std::string& last) {
  const fs::path base = PathOf(folder) / PathOf(first + "-" + last);
  std::error_code error;
  fs::path candidate = base;
  candidate += ".webm";
  for (int n = 1; n <= 9999 && fs::exists(candidate, error); ++n) {
    candidate = base;
    candidate += "-" + std::to_string(n) + ".webm";
  }
  return Utf8Of(candidate);
}

}  // namespace trelvin::video
