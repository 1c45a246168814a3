#pragma once

#include <string>

#include "core/services/FileSystem.h"

namespace trelvin {

// The base path a capture is written under: `base` itself while neither base + ".jpg" nor
// base + ".bmp" exists, otherwise the first free base + "-1", "-2", ... A second capture in the
// same second of the local clock (the repeated hour when daylight saving ends, a clock set back)
// thus never replaces an earlier capture or a BMP file whose conversion failed, and its name still
// sorts between the seconds before and after it. When no counter up to 9999 is free, `base`.
std::string FreeCaptureBase(FileSystem& files, const std::string& base);

}  // namespace trelvin
