# Cross build for 64-bit Windows with Debian's mingw-w64. The -posix compilers are the ones with
# std::thread and std::mutex; the plain names use the win32 thread model, which has neither.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TRELVIN_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TRELVIN_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TRELVIN_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TRELVIN_MINGW_PREFIX}-windres)
set(CMAKE_AR ${TRELVIN_MINGW_PREFIX}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${TRELVIN_MINGW_PREFIX}-ranlib CACHE FILEPATH "")
set(CMAKE_STRIP ${TRELVIN_MINGW_PREFIX}-strip CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${TRELVIN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One file to copy: no libstdc++-6.dll, libgcc_s_seh-1.dll or libwinpthread-1.dll beside the .exe
# (without them Wine and Windows refuse to start it).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs and gtest discovery run through Wine.
find_program(TRELVIN_WINE wine)
if(TRELVIN_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TRELVIN_WINE})
endif()
