// The converter: a BMP file in, a JPEG file out, written so that a JPEG file that exists is always
// complete and the BMP file is never touched.
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <string>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

#include "BmpReader.h"
#include "Convert.h"
#include "SourceFile.h"
#include "atomicfile/TempFile.h"
#include "trelvin_jpeg.h"

namespace {

using trelvin::bmp::BmpReader;
using trelvin::bmp::RowFormat;

constexpr std::size_t kOutputBuffer = 1 << 18;

// libjpeg reports fatal errors by a jump back into Compress; warnings are not printed.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

void ErrorExit(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}
void Silent(j_common_ptr) {}

// Compressed data goes straight to the temporary file in large writes.
struct FdDestination {
  jpeg_destination_mgr base;
  trelvin::TempFile* file;
  JOCTET* buffer;
};

void InitDestination(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<FdDestination*>(cinfo->dest);
  dest->base.next_output_byte = dest->buffer;
  dest->base.free_in_buffer = kOutputBuffer;
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<FdDestination*>(cinfo->dest);
  if (!dest->file->Write(dest->buffer, kOutputBuffer)) {
    cinfo->err->msg_code = JERR_FILE_WRITE;
    cinfo->err->error_exit(reinterpret_cast<j_common_ptr>(cinfo));
  }
  InitDestination(cinfo);
  return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<FdDestination*>(cinfo->dest);
  if (!dest->file->Write(dest->buffer, kOutputBuffer - dest->base.free_in_buffer)) {
    cinfo->err->msg_code = JERR_FILE_WRITE;
    cinfo->err->error_exit(reinterpret_cast<j_common_ptr>(cinfo));
  }
}

// Compresses every row of `reader` into `file`. Only trivially destructible objects live in this
// frame, since an error jumps out of libjpeg back to the setjmp.
bool Compress(BmpReader& reader, trelvin::TempFile& file, JOCTET* buffer, int quality) {
  jpeg_compress_struct cinfo;
  ErrorManager error;
  FdDestination dest;
  cinfo.err = jpeg_std_error(&error.base);
  error.base.error_exit = ErrorExit;
  error.base.output_message = Silent;
  if (setjmp(error.jump)) {
    jpeg_destroy_compress(&cinfo);
    return false;
  }
  jpeg_create_compress(&cinfo);
  dest.base.init_destination = InitDestination;
  dest.base.empty_output_buffer = EmptyOutputBuffer;
  dest.base.term_destination = TermDestination;
  dest.file = &file;
  dest.buffer = buffer;
  cinfo.dest = &dest.base;

  cinfo.image_width = static_cast<JDIMENSION>(reader.Width());
  cinfo.image_height = static_cast<JDIMENSION>(reader.Height());
  switch (reader.Format()) {
    case RowFormat::kBgr:
      cinfo.input_components = 3;
      cinfo.in_color_space = JCS_EXT_BGR;
      break;
    case RowFormat::kBgrx:
      cinfo.input_components = 4;
      cinfo.in_color_space = JCS_EXT_BGRX;
      break;
    case RowFormat::kRgb:
      cinfo.input_components = 3;
      cinfo.in_color_space = JCS_RGB;
      break;
  }
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    // The reader's rows go to the encoder without another copy.
    JSAMPROW row = reader.NextRow();
    if (!row) {
      jpeg_destroy_compress(&cinfo);
      return false;
    }
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}

}  // namespace

namespace trelvin::bmp {

int ConvertBmpToJpeg(const std::string& bmp_path, const std::string& jpeg_path,
                     std::int16_t level) {
  SourceFile source(bmp_path.c_str());
  if (bmp_path.empty() || !source.ok()) return 2;
  // Writing the JPEG over its own source would destroy the BMP.
  if (source.IsSameFile(jpeg_path.c_str())) return 1;
  BmpReader reader;
  if (!reader.Open(source)) return 3;

  if (jpeg_path.empty()) return 4;
  trelvin::TempFile temp(jpeg_path);
  if (!temp.ok()) return 4;
  // The caller deletes the BMP once the JPEG exists: by then the JPEG must be on the disk.
  temp.RequireDurable();
  std::vector<JOCTET> buffer(kOutputBuffer);
  const int quality = std::clamp<int>(level, 1, 100);
  if (!Compress(reader, temp, buffer.data(), quality)) return 5;
  if (!temp.Commit()) return 4;
  return 0;
}

}  // namespace trelvin::bmp

extern "C" TRELVIN_JPEG_API int TRELVIN_JPEG_CALL BmpToJpeg(const char* bmp_path,
                                                            const char* jpeg_path, int16_t level) {
  if (!bmp_path || !jpeg_path || !*bmp_path || !*jpeg_path) return 1;
  using trelvin::bmp::SourceFile;
  return trelvin::bmp::ConvertBmpToJpeg(SourceFile::WriterPath(bmp_path),
                                        SourceFile::WriterPath(jpeg_path), level);
}
