#ifndef TRELVIN_JPEG_H
#define TRELVIN_JPEG_H

/* The BMP to JPEG converter: a library of its own, callable from C. */

#include <stddef.h>
#include <stdint.h>

/* The build defines both for Windows, where the library is jpeglib.dll: exported by its module
   definition and called with __stdcall, as programs written against that DLL expect. */
#ifndef TRELVIN_JPEG_API
#if defined(__GNUC__)
#define TRELVIN_JPEG_API __attribute__((visibility("default")))
#else
#define TRELVIN_JPEG_API
#endif
#endif
#ifndef TRELVIN_JPEG_CALL
#define TRELVIN_JPEG_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Converts the BMP file `bmp_path` (24 or 32 bits per pixel, uncompressed) into the JPEG file
   `jpeg_path` at quality `level` (1 to 100; values outside are clamped). The JPEG file is written
   to a temporary file beside it and renamed into place when complete, replacing an earlier file;
   on failure no JPEG file and no temporary file remain. The BMP file is never modified. Paths are
   in the system's narrow encoding (on Windows the ANSI code page). Returns 0 on success, non-zero
   on failure. Synchronous. */
TRELVIN_JPEG_API int TRELVIN_JPEG_CALL BmpToJpeg(const char* bmp_path, const char* jpeg_path,
                                                 int16_t level);

/* Where the build defines TRELVIN_JPEG_WIDE (the Windows build, whose jpeglib.dll exports it beside
   BmpToJpeg): the same with UTF-16 paths, so that every name the file system allows reaches the
   converter, whatever the ANSI code page can spell. A path that is no valid UTF-16 fails. */
#ifdef TRELVIN_JPEG_WIDE
TRELVIN_JPEG_API int TRELVIN_JPEG_CALL BmpToJpegW(const wchar_t* bmp_path, const wchar_t* jpeg_path,
                                                  int16_t level);
#endif

#ifdef __cplusplus
}
#endif

#endif
