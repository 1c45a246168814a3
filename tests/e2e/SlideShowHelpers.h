#pragma once

// Helpers for the slide-show tests on the real program: pictures, settings, colours on screen.
#include <filesystem>
#include <string>

#include "e2e/Harness.h"

namespace trelvin::e2e {

// Writes a picture of one colour (ImageMagick); false when it could not be made.
bool MakePicture(const std::filesystem::path& path, int width, int height, Rgb8 colour);

// The settings file for a show over `dir` at the given interval (tenths), without music.
std::string ShowSettings(const std::filesystem::path& dir, int interval, bool stretch);

// Whether two colours differ by at most `tolerance` in each channel (JPEG is lossy).
bool Near(Rgb8 a, Rgb8 b, int tolerance = 6);

// Waits until the screen shows `colour` at every one of the points.
bool WaitForColours(const VirtualDisplay& display,
                    const std::vector<std::pair<std::pair<int, int>, Rgb8>>& points,
                    std::chrono::milliseconds timeout = std::chrono::seconds(15));

}  // namespace trelvin::e2e
