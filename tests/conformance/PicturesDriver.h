#pragma once

// What the pictures service's conformance suite asks of a system: each system's tests define
// these once (tests/os/<system>/conformance/).
#include <cstdint>
#include <memory>
#include <vector>

#include "core/base/Bitmap.h"
#include "core/services/Pictures.h"

namespace trelvin::conformance {

enum class PictureFormat { kJpeg, kPng, kBmp };

// The system's pictures service, ready to use on this thread.
std::unique_ptr<Pictures> MakePictures();
// A picture of `width` x `height`, its left half `left` and the rest `right`, encoded by the
// system's own encoder.
std::vector<std::uint8_t> Encode(PictureFormat format, int width, int height, Rgb left, Rgb right);
// The pixels of `picture` as the service decoded them for showing.
Bitmap Shown(const Picture& picture);
// Whether `picture` was decoded at a reduced size.
bool Reduced(const Picture& picture);
// Whether the system may lack a working WebP decoder (Wine's WIC has the class but no codec).
extern const bool kMayLackWebp;

}  // namespace trelvin::conformance
