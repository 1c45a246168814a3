# What the Linux build needs from the system: Qt 6, libjpeg-turbo, X11 and GStreamer.
# The directory separator as a character code (see src/core/base/PathRules.h).
add_compile_definitions(TRELVIN_PATH_SEPARATOR=47)
find_package(PkgConfig REQUIRED)
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets PrintSupport DBus)
find_package(JPEG REQUIRED)
find_package(X11 REQUIRED)
pkg_check_modules(GST REQUIRED IMPORTED_TARGET gstreamer-1.0 gstreamer-app-1.0 gstreamer-audio-1.0)

# The video maker's encoder and muxer: Debian's libvpx and libwebm. Debian's libwebm-dev ships
# the muxer in its library but not the muxer's headers; they come from the source package of the
# very version installed (scripts/debian-source.sh, once per checkout, into build-deps/).
pkg_check_modules(VPX REQUIRED IMPORTED_TARGET vpx)
find_library(TRELVIN_WEBM_LIBRARY webm REQUIRED)
execute_process(COMMAND dpkg-query -W -f=\${Version} libwebm-dev
  OUTPUT_VARIABLE TRELVIN_WEBM_VERSION RESULT_VARIABLE webm_query)
if(webm_query OR NOT TRELVIN_WEBM_VERSION)
  message(FATAL_ERROR "libwebm-dev is not installed: run scripts/setup.sh")
endif()
string(REGEX REPLACE "-[^-]*$" "" webm_upstream "${TRELVIN_WEBM_VERSION}")
set(TRELVIN_DEBIAN_SOURCES ${CMAKE_SOURCE_DIR}/build-deps CACHE PATH
  "Debian source packages the build takes headers from")
set(TRELVIN_WEBM_SOURCE ${TRELVIN_DEBIAN_SOURCES}/libwebm-${webm_upstream})
if(NOT EXISTS ${TRELVIN_WEBM_SOURCE}/mkvmuxer/mkvmuxer.h)
  execute_process(COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/debian-source.sh libwebm
    ${TRELVIN_WEBM_VERSION} ${TRELVIN_DEBIAN_SOURCES} RESULT_VARIABLE webm_fetch)
  if(webm_fetch OR NOT EXISTS ${TRELVIN_WEBM_SOURCE}/mkvmuxer/mkvmuxer.h)
    message(FATAL_ERROR "libwebm's source package ${TRELVIN_WEBM_VERSION} could not be fetched")
  endif()
endif()
# The video maker's system part: cleared memory handed back (src/video/ClearedMemory.h).
set(TRELVIN_VIDEO_SYSTEM_SOURCES ${CMAKE_CURRENT_LIST_DIR}/video/ClearedMemoryLinux.cpp)
add_library(trelvin_vpx INTERFACE)
target_link_libraries(trelvin_vpx INTERFACE PkgConfig::VPX)
add_library(trelvin_webm INTERFACE)
target_include_directories(trelvin_webm SYSTEM INTERFACE ${TRELVIN_WEBM_SOURCE})
target_link_libraries(trelvin_webm INTERFACE ${TRELVIN_WEBM_LIBRARY})
