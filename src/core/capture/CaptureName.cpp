#include "core/capture/CaptureName.h"

namespace trelvin {

namespace {

constexpr int kMaxCounter = 9999;

// A file of any length counts, even an empty JPEG: it may be all that is left of a capture.
bool Taken(FileSystem& files, const std::string& base) {
  return files.FileLength(base + ".jpg").has_value() || files.FileLength(base + ".bmp").has_value();
}

}  // namespace

std::string FreeCaptureBase(FileSystem& files, const std::string& base) {
  if (!Taken(files, base)) return base;
  for (int counter = 1; counter <= kMaxCounter; ++counter) {
    std::string candidate = base + "-" + std::to_string(counter);
    if (!Taken(files, candidate)) return candidate;
  }
  return base;
}

}  // namespace trelvin
