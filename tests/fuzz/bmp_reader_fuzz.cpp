// The converter reads BMP files from the capture directory, where anything may lie.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "BmpReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  trelvin::bmp::MemorySource source(data, size);
  trelvin::bmp::BmpReader reader;
  if (!reader.Open(source)) return 0;
  // An opened file promises every row, and pixel data that is really there.
  if (reader.Width() <= 0 || reader.Height() <= 0) std::abort();
  const std::size_t row_bytes = static_cast<std::size_t>(reader.Width()) * reader.BytesPerPixel();
  unsigned sum = 0;
  for (int y = 0; y < reader.Height(); ++y) {
    const std::uint8_t* row = reader.NextRow();
    if (!row) std::abort();
    // Touch the first and last byte, so a row that runs short is seen by the sanitizer.
    sum += row[0] + row[row_bytes - 1];
  }
  if (reader.NextRow() != nullptr) std::abort();
  return static_cast<int>(sum & 0);
}
