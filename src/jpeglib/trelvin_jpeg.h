#ifndef TRELVIN_JPEG_H
#define TRELVIN_JPEG_H

/* The BMP to JPEG converter: a library of its own, callable from C. */

#include <stdint.h>

#if defined(__GNUC__)
#define TRELVIN_JPEG_API __attribute__((visibility("default")))
#else
#define TRELVIN_JPEG_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Converts the BMP file `bmp_path` into the JPEG file `jpeg_path` at quality `level` (1 to 100).
   Returns 0 on success, non-zero on failure. */
TRELVIN_JPEG_API int BmpToJpeg(const char* bmp_path, const char* jpeg_path, int16_t level);

#ifdef __cplusplus
}
#endif

#endif
