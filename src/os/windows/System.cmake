# Cross build with cmake/mingw-w64-x86_64.cmake: plain Win32, no toolkit. The W functions and a
# Windows 10 API level everywhere; the directory separator as a character code (see
# src/core/base/PathRules.h).
add_compile_definitions(TRELVIN_PATH_SEPARATOR=92 UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
  _WIN32_WINNT=0x0A00 WINVER=0x0A00)
# The fuzz targets are a Linux tool; of the benchmarks, the capture's has a Windows build.
set(TRELVIN_FUZZ OFF)
