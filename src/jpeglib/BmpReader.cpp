#include "BmpReader.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace trelvin::bmp {

namespace {

constexpr std::uint64_t kFileHeaderSize = 14;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;
// Rows are read in chunks of about this many bytes.
constexpr std::size_t kChunkBytes = 1 << 20;

std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t Le32(const std::uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// A mask must be one run of set bits.
bool ContiguousMask(std::uint32_t mask) {
  if (mask == 0) return false;
  const std::uint32_t shifted = mask >> std::countr_zero(mask);
  return (shifted & (shifted + 1)) == 0;
}

// The 8-bit value of the field `mask` in `pixel`.
std::uint8_t Field(std::uint32_t pixel, std::uint32_t mask) {
  const int shift = std::countr_zero(mask);
  const int width = std::popcount(mask);
  const std::uint32_t value = (pixel & mask) >> shift;
  if (width >= 8) return static_cast<std::uint8_t>(value >> (width - 8));
  return static_cast<std::uint8_t>(value * 255 / ((1u << width) - 1));
}

}  // namespace

bool MemorySource::ReadAt(std::uint64_t offset, void* out, std::size_t n) {
  if (offset > size_ || n > size_ - offset) return false;
  std::memcpy(out, data_ + offset, n);
  return true;
}

bool BmpReader::Open(ByteSource& source) {
  source_ = nullptr;
  const std::uint64_t file_size = source.Size();
  std::uint8_t head[kFileHeaderSize + 4];
  if (!source.ReadAt(0, head, sizeof head)) return false;
  if (head[0] != 'B' || head[1] != 'M') return false;
  const std::uint32_t pixel_offset = Le32(head + 10);
  const std::uint32_t info_size = Le32(head + 14);
  // BITMAPINFOHEADER and its later versions; the old OS/2 core header has no 24/32-bit use here.
  if (info_size != 40 && info_size != 52 && info_size != 56 && info_size != 108 &&
      info_size != 124) {
    return false;
  }
  std::uint8_t info[124 + 12] = {};
  const bool masks_follow = info_size == 40;
  const std::size_t info_read = info_size;
  if (!source.ReadAt(kFileHeaderSize, info, info_read)) return false;

  const std::int32_t width = static_cast<std::int32_t>(Le32(info + 4));
  const std::int32_t height = static_cast<std::int32_t>(Le32(info + 8));
  const std::uint16_t planes = Le16(info + 12);
  const std::uint16_t bits = Le16(info + 14);
  const std::uint32_t compression = Le32(info + 16);
  if (planes != 1 || (bits != 24 && bits != 32)) return false;
  if (width <= 0 || width > kMaxDimension) return false;
  if (height == 0 || height < -kMaxDimension || height > kMaxDimension) return false;

  std::uint64_t headers_end = kFileHeaderSize + info_size;
  format_ = bits == 24 ? RowFormat::kBgr : RowFormat::kBgrx;
  if (compression == kBiBitfields || compression == kBiAlphaBitfields) {
    if (bits != 32) return false;
    if (masks_follow) {
      if (!source.ReadAt(headers_end, info + 40, 12)) return false;
      headers_end += compression == kBiAlphaBitfields ? 16 : 12;
    }
    for (int i = 0; i < 3; ++i) {
      masks_[i] = Le32(info + 40 + 4 * i);
      if (!ContiguousMask(masks_[i])) return false;
    }
    if ((masks_[0] & masks_[1]) || (masks_[0] & masks_[2]) || (masks_[1] & masks_[2])) {
      return false;
    }
    const bool plain = masks_[0] == 0xFF0000 && masks_[1] == 0xFF00 && masks_[2] == 0xFF;
    if (!plain) format_ = RowFormat::kRgb;
  } else if (compression != kBiRgb) {
    return false;
  }

  stride_ = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
  const std::uint64_t rows = static_cast<std::uint64_t>(height < 0 ? -height : height);
  if (pixel_offset < headers_end || pixel_offset > file_size) return false;
  // All the pixel data must be there; this also bounds the work a hostile header can ask for.
  if (stride_ * rows > file_size - pixel_offset) return false;

  width_ = width;
  height_ = static_cast<int>(rows);
  top_down_ = height < 0;
  bits_ = bits;
  pixel_offset_ = pixel_offset;
  next_row_ = 0;
  chunk_rows_ = 0;
  chunk_first_ = 0;
  source_ = &source;
  return true;
}

bool BmpReader::LoadChunk(int file_row) {
  const int per_chunk = static_cast<int>(std::max<std::size_t>(1, kChunkBytes / stride_));
  // Bottom-up files are read from their end, so each chunk ends at the row wanted next.
  const int first = top_down_ ? file_row : std::max(0, file_row - per_chunk + 1);
  const int count = top_down_ ? std::min(per_chunk, height_ - file_row) : file_row - first + 1;
  chunk_.resize(static_cast<std::size_t>(count) * stride_);
  chunk_rows_ = 0;
  if (!source_->ReadAt(pixel_offset_ + static_cast<std::uint64_t>(first) * stride_, chunk_.data(),
                       chunk_.size())) {
    return false;
  }
  chunk_first_ = first;
  chunk_rows_ = count;
  return true;
}

std::uint8_t* BmpReader::NextRow() {
  if (!source_ || next_row_ >= height_) return nullptr;
  const int file_row = top_down_ ? next_row_ : height_ - 1 - next_row_;
  if (file_row < chunk_first_ || file_row >= chunk_first_ + chunk_rows_) {
    if (!LoadChunk(file_row)) {
      source_ = nullptr;
      return nullptr;
    }
  }
  ++next_row_;
  std::uint8_t* row = chunk_.data() + static_cast<std::size_t>(file_row - chunk_first_) * stride_;
  if (format_ != RowFormat::kRgb) return row;
  converted_.resize(static_cast<std::size_t>(width_) * 3);
  for (int x = 0; x < width_; ++x) {
    const std::uint32_t pixel = Le32(row + 4 * x);
    for (int c = 0; c < 3; ++c) converted_[3 * x + c] = Field(pixel, masks_[c]);
  }
  return converted_.data();
}

}  // namespace trelvin::bmp
