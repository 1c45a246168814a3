#pragma once

// Decodes JPEG files in tests, with libjpeg, so a check never depends on the code under test.
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace trelvin::test_support {

struct DecodedJpeg {
  bool ok = false;
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;     // rows top-down, 3 bytes a pixel
  std::vector<unsigned> luma_quant;  // the first quantisation table, in natural order
  // The pixel (x, y) as 0x00RRGGBB.
  std::uint32_t At(int x, int y) const {
    const std::uint8_t* p = rgb.data() + (static_cast<std::size_t>(y) * width + x) * 3;
    return static_cast<std::uint32_t>(p[0]) << 16 | p[1] << 8 | p[2];
  }
};

namespace internal {
struct JumpError {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};
inline void JumpOut(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<JumpError*>(cinfo->err)->jump, 1);
}
inline void Quiet(j_common_ptr) {}
inline bool Decode(FILE* file, DecodedJpeg& out) {
  jpeg_decompress_struct cinfo;
  JumpError error;
  cinfo.err = jpeg_std_error(&error.base);
  error.base.error_exit = JumpOut;
  error.base.output_message = Quiet;
  if (setjmp(error.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_stdio_src(&cinfo, file);
  jpeg_read_header(&cinfo, TRUE);
  if (cinfo.quant_tbl_ptrs[0]) {
    out.luma_quant.resize(DCTSIZE2);
    for (int i = 0; i < DCTSIZE2; ++i) out.luma_quant[i] = cinfo.quant_tbl_ptrs[0]->quantval[i];
  }
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  out.width = static_cast<int>(cinfo.output_width);
  out.height = static_cast<int>(cinfo.output_height);
  out.rgb.resize(static_cast<std::size_t>(out.width) * out.height * 3);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = out.rgb.data() + static_cast<std::size_t>(cinfo.output_scanline) * out.width * 3;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}
}  // namespace internal

inline DecodedJpeg DecodeJpegFile(const std::string& path) {
  DecodedJpeg out;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return out;
  out.ok = internal::Decode(file, out);
  std::fclose(file);
  return out;
}

// The luminance quantisation table that libjpeg makes for `quality` with baseline limits.
inline std::vector<unsigned> ExpectedLumaQuant(int quality) {
  static const unsigned kStandard[DCTSIZE2] = {
      16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
      14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
      18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
      49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
  const long scale = quality < 50 ? 5000 / quality : 200 - quality * 2;
  std::vector<unsigned> table(DCTSIZE2);
  for (int i = 0; i < DCTSIZE2; ++i) {
    long value = (kStandard[i] * scale + 50) / 100;
    table[i] = static_cast<unsigned>(value < 1 ? 1 : value > 255 ? 255 : value);
  }
  return table;
}

}  // namespace trelvin::test_support
