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
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr error{};
  cinfo.err = jpeg_std_error(&error);
  jpeg_create_compress(&cinfo);
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  const UINT16* table = cinfo.quant_tbl_ptrs[0]->quantval;  // in natural order
  std::vector<unsigned> natural(table, table + DCTSIZE2);
  jpeg_destroy_compress(&cinfo);
  return natural;
}

}  // namespace trelvin::test_support
