#pragma once

// What the pictures service's conformance suite asks of a system: each system's tests implement
// it once (tests/os/<system>/conformance/).
#include <cstdint>
#include <memory>
#include <vector>

#include "core/base/Bitmap.h"
#include "core/services/Pictures.h"

namespace trelvin::conformance {

enum class PictureFormat { kJpeg, kPng, kBmp };

class PicturesDriver {
 public:
  virtual ~PicturesDriver() = default;
  // The system's pictures service.
  virtual Pictures& Service() = 0;
  // A picture of `width` x `height`, its left half `left` and the rest `right`, encoded by the
  // system's own encoder.
  virtual std::vector<std::uint8_t> Encode(PictureFormat format, int width, int height, Rgb left,
                                           Rgb right) = 0;
  // The pixels of `picture` as the service decoded them for showing.
  virtual Bitmap Shown(const Picture& picture) = 0;
  // Whether `picture` was decoded at a reduced size.
  virtual bool Reduced(const Picture& picture) = 0;
  // Whether the system may lack a working WebP decoder (Wine's WIC has the class but no codec).
  virtual bool MayLackWebp() = 0;
};

std::unique_ptr<PicturesDriver> MakePicturesDriver();

}  // namespace trelvin::conformance
