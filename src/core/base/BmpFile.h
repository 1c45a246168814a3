#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/base/Bitmap.h"

namespace trelvin {

// A Windows bitmap file of an image (BITMAPINFOHEADER, 24 bits per pixel, rows bottom-up and
// padded to 4 bytes), made a chunk at a time so a large screen never needs a second full copy
// in memory. The image must outlive the encoder and stay unchanged while it is used.
class Bmp24Encoder {
 public:
  // Throws std::length_error when the file would exceed 4 GiB.
  explicit Bmp24Encoder(const Bitmap& image);

  std::size_t FileSize() const { return file_size_; }
  // The next piece of the file (the headers first, then groups of rows); empty at the end. Valid
  // until the next call.
  std::span<const std::uint8_t> Next();

 private:
  const Bitmap& image_;
  std::size_t stride_;
  std::size_t file_size_;
  int rows_per_chunk_;
  int next_file_row_ = -1;  // -1: the headers come next
  std::vector<std::uint8_t> buffer_;
};

// The whole file in memory.
std::vector<std::uint8_t> EncodeBmp24(const Bitmap& image);

}  // namespace trelvin
