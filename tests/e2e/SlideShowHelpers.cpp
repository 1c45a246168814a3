#include "e2e/SlideShowHelpers.h"

#include <cstdlib>

namespace trelvin::e2e {

bool MakePicture(const std::filesystem::path& path, int width, int height, Rgb8 colour) {
  const std::string fill = "xc:rgb(" + std::to_string(colour.r) + "," + std::to_string(colour.g) +
                           "," + std::to_string(colour.b) + ")";
  const std::string size = std::to_string(width) + "x" + std::to_string(height);
  return Run("convert -size " + size + " " + Quote(fill) + " -quality 95 " + Quote(path.string()) +
             " 2>/dev/null")
                 .status == 0 &&
         std::filesystem::exists(path);
}

std::string ShowSettings(const std::filesystem::path& dir, int interval, bool stretch) {
  return "[Settings]\nPath=" + dir.string() + "\nShowInterval=" + std::to_string(interval) +
         "\nStretchImage=" + (stretch ? "1" : "0") + "\nMusic=0\nRandom=0\n";
}

bool Near(Rgb8 a, Rgb8 b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

bool WaitForColours(const VirtualDisplay& display,
                    const std::vector<std::pair<std::pair<int, int>, Rgb8>>& points,
                    std::chrono::milliseconds timeout) {
  return WaitFor(
      [&] {
        const Screenshot shot = display.Capture();
        if (shot.width == 0) return false;
        for (const auto& [where, colour] : points) {
          if (!Near(shot.At(where.first, where.second), colour)) return false;
        }
        return true;
      },
      timeout);
}

}  // namespace trelvin::e2e
