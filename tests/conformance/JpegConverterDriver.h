#pragma once

// What the converter's conformance suite asks of a system: each system's tests implement it once
// (tests/os/<system>/conformance/). Folders and other names of a file come from the file
// service's driver.
#include <cstdint>
#include <memory>

#include "core/services/JpegConverter.h"

namespace trelvin::conformance {

class JpegConverterDriver {
 public:
  virtual ~JpegConverterDriver() = default;
  // The library's BmpToJpeg as other programs call it, with the system's narrow paths.
  virtual int BmpToJpeg(const char* bmp_path, const char* jpeg_path, std::int16_t level) = 0;
  // The program's converter service on the same library.
  virtual JpegConverter& Service() = 0;
};

std::unique_ptr<JpegConverterDriver> MakeJpegConverterDriver();

}  // namespace trelvin::conformance
