# Cross build with cmake/mingw-w64-x86_64.cmake: plain Win32, no toolkit. The W functions and a
# Windows 10 API level everywhere; the directory separator as a character code (see
# src/core/base/PathRules.h).
add_compile_definitions(TRELVIN_PATH_SEPARATOR=92 UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
  _WIN32_WINNT=0x0A00 WINVER=0x0A00)
# The fuzz targets are a Linux tool; of the benchmarks, the capture's has a Windows build.
set(TRELVIN_FUZZ OFF)

# The video maker's encoder and muxer, built for Windows from Debian's source packages by
# scripts/windows-deps.sh (libvpx's VP9 encoder, libwebm's muxer).
set(TRELVIN_WINDOWS_DEPS ${CMAKE_BINARY_DIR}/deps CACHE PATH
  "Libraries built for Windows by scripts/windows-deps.sh")
# The video maker's system part (src/video/ClearedMemory.h).
set(TRELVIN_VIDEO_SYSTEM_SOURCES ${CMAKE_CURRENT_LIST_DIR}/video/ClearedMemoryWin.cpp)
foreach(lib vpx webm)
  if(NOT EXISTS ${TRELVIN_WINDOWS_DEPS}/lib${lib}/lib/lib${lib}.a)
    message(FATAL_ERROR "lib${lib} for Windows is missing: run scripts/windows-deps.sh")
  endif()
  add_library(trelvin_${lib} STATIC IMPORTED)
  set_target_properties(trelvin_${lib} PROPERTIES
    IMPORTED_LOCATION ${TRELVIN_WINDOWS_DEPS}/lib${lib}/lib/lib${lib}.a
    INTERFACE_INCLUDE_DIRECTORIES ${TRELVIN_WINDOWS_DEPS}/lib${lib}/include)
endforeach()
