#include "core/base/BmpFile.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace trelvin {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kPixelOffset = kFileHeaderSize + kInfoHeaderSize;
// Rows are encoded into a buffer of about this size, small enough to stay in the cache.
constexpr std::size_t kChunkBytes = 512 * 1024;

void Put16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::uint8_t* p, std::uint32_t v) {
  Put16(p, v & 0xFFFF);
  Put16(p + 2, v >> 16);
}

// 0x00RRGGBB words to B, G, R bytes: the capture's hot loop. On little-endian machines each pixel
// is stored as its whole word, three bytes on from the last, so the word's spare byte is
// overwritten by the next pixel; this runs several times faster than assembling the bytes. The
// row's last pixel is stored byte by byte, so the row's padding is never touched.
void PackRow(const std::uint32_t* src, std::size_t width, std::uint8_t* dst) {
  std::size_t x = 0;
  if constexpr (std::endian::native == std::endian::little) {
    for (; x + 1 < width; ++x, dst += 3) std::memcpy(dst, src + x, 4);
  }
  for (; x < width; ++x, dst += 3) {
    dst[0] = static_cast<std::uint8_t>(src[x]);
    dst[1] = static_cast<std::uint8_t>(src[x] >> 8);
    dst[2] = static_cast<std::uint8_t>(src[x] >> 16);
  }
}

}  // namespace

Bmp24Encoder::Bmp24Encoder(const Bitmap& image) : image_(image) {
  const std::size_t width = static_cast<std::size_t>(std::max(image.width, 0));
  const std::size_t height = static_cast<std::size_t>(std::max(image.height, 0));
  stride_ = (width * 3 + 3) & ~static_cast<std::size_t>(3);
  if (width > std::numeric_limits<std::uint32_t>::max() / 4 ||
      (height > 0 &&
       stride_ > (std::numeric_limits<std::uint32_t>::max() - kPixelOffset) / height)) {
    throw std::length_error("bitmap too large for a BMP file");
  }
  file_size_ = kPixelOffset + stride_ * height;
  rows_per_chunk_ =
      static_cast<int>(std::max<std::size_t>(1, kChunkBytes / std::max<std::size_t>(stride_, 1)));
}

std::span<const std::uint8_t> Bmp24Encoder::Next() {
  if (next_file_row_ < 0) {
    buffer_.assign(kPixelOffset, 0);
    std::uint8_t* h = buffer_.data();
    h[0] = 'B';
    h[1] = 'M';
    Put32(h + 2, static_cast<std::uint32_t>(file_size_));
    Put32(h + 10, static_cast<std::uint32_t>(kPixelOffset));
    std::uint8_t* info = h + kFileHeaderSize;
    Put32(info, static_cast<std::uint32_t>(kInfoHeaderSize));
    Put32(info + 4, static_cast<std::uint32_t>(image_.width));
    Put32(info + 8, static_cast<std::uint32_t>(image_.height));  // positive: bottom-up rows
    Put16(info + 12, 1);                                         // planes
    Put16(info + 14, 24);                                        // bits per pixel
    Put32(info + 16, 0);                                         // BI_RGB
    Put32(info + 20, static_cast<std::uint32_t>(file_size_ - kPixelOffset));
    Put32(info + 24, 3780);  // 96 dpi in pixels per metre
    Put32(info + 28, 3780);
    next_file_row_ = 0;
    return buffer_;
  }
  if (next_file_row_ >= image_.height) return {};
  const int rows = std::min(rows_per_chunk_, image_.height - next_file_row_);
  // Sized once for a full chunk; the padding bytes stay zero as rows only overwrite pixels.
  if (buffer_.size() != stride_ * rows_per_chunk_) buffer_.assign(stride_ * rows_per_chunk_, 0);
  const std::size_t width = static_cast<std::size_t>(image_.width);
  for (int r = 0; r < rows; ++r) {
    // File row 0 is the image's bottom row.
    const std::uint32_t* src = image_.Row(image_.height - 1 - (next_file_row_ + r));
    PackRow(src, width, buffer_.data() + static_cast<std::size_t>(r) * stride_);
  }
  next_file_row_ += rows;
  return {buffer_.data(), stride_ * static_cast<std::size_t>(rows)};
}

std::vector<std::uint8_t> EncodeBmp24(const Bitmap& image) {
  Bmp24Encoder encoder(image);
  std::vector<std::uint8_t> file;
  file.reserve(encoder.FileSize());
  for (auto chunk = encoder.Next(); !chunk.empty(); chunk = encoder.Next()) {
    file.insert(file.end(), chunk.begin(), chunk.end());
  }
  return file;
}

}  // namespace trelvin
