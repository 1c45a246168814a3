#pragma once

// Reading Windows bitmap files of 24 and 32 bits per pixel, row by row from the top, without ever
// trusting the file: every size is checked against the bytes that are really there.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace trelvin::bmp {

// Random-access bytes of a BMP file.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // The source's length in bytes.
  virtual std::uint64_t Size() const = 0;
  // Reads exactly `n` bytes at `offset` into `out`; false when they cannot all be read.
  virtual bool ReadAt(std::uint64_t offset, void* out, std::size_t n) = 0;
};

// A BMP file held in memory (tests and fuzzing).
class MemorySource : public ByteSource {
 public:
  MemorySource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::uint64_t Size() const override { return size_; }
  bool ReadAt(std::uint64_t offset, void* out, std::size_t n) override;

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

// The byte layout of the rows that NextRow gives.
enum class RowFormat {
  kBgr,   // 3 bytes a pixel: blue, green, red
  kBgrx,  // 4 bytes a pixel: blue, green, red, unused
  kRgb,   // 3 bytes a pixel: red, green, blue
};

// The largest width or height accepted; also the largest a JPEG file can have.
constexpr int kMaxDimension = 65500;

class BmpReader {
 public:
  // Reads and checks the headers of `source`, which must outlive the reader; false for a damaged,
  // truncated or unsupported file. Only uncompressed 24-bit and 32-bit files (plain or with bit
  // fields) are supported.
  bool Open(ByteSource& source);

  int Width() const { return width_; }
  int Height() const { return height_; }
  RowFormat Format() const { return format_; }
  int BytesPerPixel() const { return format_ == RowFormat::kBgrx ? 4 : 3; }

  // The next row from the top in Format(), valid until the next call; nullptr when all rows have
  // been read or the source failed.
  std::uint8_t* NextRow();

 private:
  bool LoadChunk(int file_row);

  ByteSource* source_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  bool top_down_ = false;
  int bits_ = 0;
  RowFormat format_ = RowFormat::kBgr;
  std::uint64_t pixel_offset_ = 0;
  std::size_t stride_ = 0;
  std::uint32_t masks_[3] = {};  // red, green, blue, for bit-field files
  int next_row_ = 0;             // counted from the top
  // Rows of the file in file order: `chunk_rows_` rows from file row `chunk_first_`.
  std::vector<std::uint8_t> chunk_;
  int chunk_first_ = 0;
  int chunk_rows_ = 0;
  std::vector<std::uint8_t> converted_;
};

}  // namespace trelvin::bmp
