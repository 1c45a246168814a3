// JPEG decoding with libjpeg-turbo. A fatal libjpeg error jumps back to the setjmp in Decode(), so
// nothing between the two owns anything that needs destroying.
#include "video/FrameLoader.h"

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>

#include <jpeglib.h>

#include "video/CaptureFiles.h"

namespace trelvin::video {

namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

// Warnings (a truncated or corrupt stream) are counted, not printed: a picture with any is
// damaged.
void EmitMessage(j_common_ptr cinfo, int level) {
  if (level < 0) ++cinfo->err->num_warnings;
}

}  // namespace

bool FrameLoader::ReadFile(const std::string& path) {
  std::ifstream in(PathOf(path), std::ios::binary);
  if (!in) return false;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  // Nothing a capture could be is this large; a stray huge file is not read into memory.
  if (size <= 0 || size > (std::streamoff{1} << 30)) return false;
  in.seekg(0);
  file_.resize(static_cast<std::size_t>(size));
  return static_cast<bool>(in.read(reinterpret_cast<char*>(file_.data()), size));
}

bool FrameLoader::ReadSize(const std::string& path, int& width, int& height) {
  if (!ReadFile(path)) return false;
  jpeg_decompress_struct cinfo{};
  ErrorManager error{};
  cinfo.err = jpeg_std_error(&error.base);
  error.base.error_exit = ErrorExit;
  error.base.emit_message = EmitMessage;
  if (setjmp(error.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, file_.data(), static_cast<unsigned long>(file_.size()));
  jpeg_read_header(&cinfo, TRUE);
  width = static_cast<int>(cinfo.image_width);
  height = static_cast<int>(cinfo.image_height);
  jpeg_destroy_decompress(&cinfo);
  return width > 0 && height > 0;
}

bool FrameLoader::Decode(int content_w, int content_h) {
  jpeg_decompress_struct cinfo{};
  ErrorManager error{};
  cinfo.err = jpeg_std_error(&error.base);
  error.base.error_exit = ErrorExit;
  error.base.emit_message = EmitMessage;
  if (setjmp(error.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, file_.data(), static_cast<unsigned long>(file_.size()));
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  cinfo.dct_method = JDCT_ISLOW;
  // The smallest of libjpeg's scales (n/8) that still covers the place the picture goes: the
  // scale pass after it then shrinks by less than half, where a bilinear filter does well.
  cinfo.scale_denom = 8;
  for (unsigned num = 1; num <= 8; ++num) {
    cinfo.scale_num = num;
    jpeg_calc_output_dimensions(&cinfo);
    if (static_cast<int>(cinfo.output_width) >= content_w &&
        static_cast<int>(cinfo.output_height) >= content_h) {
      break;
    }
  }
  jpeg_start_decompress(&cinfo);
  rgb_w_ = static_cast<int>(cinfo.output_width);
  rgb_h_ = static_cast<int>(cinfo.output_height);
  const std::size_t stride = static_cast<std::size_t>(rgb_w_) * 3;
  rgb_.resize(stride * static_cast<std::size_t>(rgb_h_));
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = rgb_.data() + stride * cinfo.output_scanline;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  const bool clean = error.base.num_warnings == 0;
  jpeg_destroy_decompress(&cinfo);
  return clean;
}

bool FrameLoader::Load(const std::string& path, Frame& frame) {
  int w = 0, h = 0;
  if (!ReadSize(path, w, h)) return false;
  const Placement place = FitInside(w, h, frame.width, frame.height);
  if (!Decode(place.width, place.height)) return false;
  Place(place, frame);
  return true;
}

}  // namespace trelvin::video
