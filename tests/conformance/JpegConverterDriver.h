#pragma once

// What the converter's conformance suite asks of a system: each system's tests define these once
// (tests/os/<system>/conformance/). Folders come from FileSystemDriver.h.
#include <cstdint>
#include <memory>

#include "core/services/JpegConverter.h"

namespace trelvin::conformance {

// The program's converter service on the system's library.
std::unique_ptr<JpegConverter> MakeJpegConverter();
// The library's BmpToJpeg as other programs call it, with the system's narrow paths.
int CallBmpToJpeg(const char* bmp_path, const char* jpeg_path, std::int16_t level);

}  // namespace trelvin::conformance
