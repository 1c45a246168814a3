# What the Linux build needs from the system: Qt 6, libjpeg-turbo, X11 and GStreamer.
# The directory separator as a character code (see src/core/base/PathRules.h).
add_compile_definitions(TRELVIN_PATH_SEPARATOR=47)
find_package(PkgConfig REQUIRED)
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets PrintSupport DBus)
find_package(JPEG REQUIRED)
find_package(X11 REQUIRED)
pkg_check_modules(GST REQUIRED IMPORTED_TARGET gstreamer-1.0 gstreamer-app-1.0 gstreamer-audio-1.0)
