#pragma once

#include <cstdint>
#include <vector>

#include "platform/Bitmap.h"

namespace trelvin {

// The bytes of a Windows bitmap file of `image`: BITMAPINFOHEADER, 24 bits per pixel, rows
// bottom-up and padded to 4 bytes. Throws std::length_error when the file would exceed 4 GiB.
std::vector<std::uint8_t> EncodeBmp24(const Bitmap& image);

}  // namespace trelvin
