#pragma once

// The capture benchmarks' floor: libjpeg compressing a capture in memory, nothing else.
#include <cstdint>
#include <cstdlib>

#include <jpeglib.h>

#include "core/base/Bitmap.h"

namespace trelvin::bench {

// The floor's encoder: the same library and settings as the converter, into memory.
inline std::size_t CompressInMemory(const trelvin::Bitmap& image, int quality) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr error;
  cinfo.err = jpeg_std_error(&error);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(image.width);
  cinfo.image_height = static_cast<JDIMENSION>(image.height);
  cinfo.input_components = 4;
  cinfo.in_color_space = JCS_EXT_BGRX;  // 0x00RRGGBB words in little-endian memory
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = reinterpret_cast<JSAMPROW>(
        const_cast<std::uint32_t*>(image.Row(static_cast<int>(cinfo.next_scanline))));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return size;
}

}  // namespace trelvin::bench
