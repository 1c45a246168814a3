#!/usr/bin/env bash
# Builds the libraries the Windows program links statically from Debian's own source packages, with
# the mingw-w64 toolchain, into build-windows/deps/: libjpeg-turbo (with its SIMD code, assembled
# by nasm) for jpeglib.dll and the video maker; libvpx (the VP9 encoder alone) and libwebm's muxer
# for the video maker. Skips what is already built. The sources come through
# scripts/debian-source.sh (a private apt configuration; needs dpkg-dev, scripts/setup-windows.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
deps="$PWD/build-windows/deps"
src_dir="$deps/src"
mkdir -p "$deps"
jobs=$(nproc)

prefix="$deps/libjpeg-turbo"
if [ ! -f "$prefix/lib/libjpeg.a" ] || [ ! -f "$prefix/include/jpeglib.h" ]; then
  if [ ! -d "$src_dir/libjpeg-turbo-2.1.5" ]; then
    bash scripts/debian-source.sh libjpeg-turbo 1:2.1.5-2 "$src_dir"
  fi
  build="$deps/build-libjpeg-turbo"
  cmake -S "$src_dir/libjpeg-turbo-2.1.5" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_ASM_NASM_COMPILER=nasm \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON -DREQUIRE_SIMD=ON \
    -DWITH_JPEG8=OFF -DCMAKE_CROSSCOMPILING_EMULATOR= >/dev/null
  cmake --build "$build" --target jpeg-static
  cmake --install "$build" >/dev/null 2>&1 || {
    # Installing everything would need the tools and test programs too; take what linking needs.
    mkdir -p "$prefix/lib" "$prefix/include"
    cp "$build/libjpeg.a" "$prefix/lib/"
    cp "$build/jconfig.h" "$src_dir/libjpeg-turbo-2.1.5/jpeglib.h" \
      "$src_dir/libjpeg-turbo-2.1.5/jmorecfg.h" "$src_dir/libjpeg-turbo-2.1.5/jerror.h" \
      "$prefix/include/"
  }
fi

# libvpx: the VP9 encoder only (no VP8, no decoder, no examples, tools, documentation or tests),
# which keeps the build to a few minutes on two cores.
prefix="$deps/libvpx"
if [ ! -f "$prefix/lib/libvpx.a" ] || [ ! -f "$prefix/include/vpx/vp8cx.h" ]; then
  bash scripts/debian-source.sh libvpx 1.12.0-1+deb12u5 "$src_dir"
  build="$deps/build-libvpx"
  rm -rf "$build"
  mkdir -p "$build"
  (cd "$build" && CROSS=x86_64-w64-mingw32- "$src_dir/libvpx-1.12.0/configure" \
    --target=x86_64-win64-gcc --prefix="$prefix" --as=nasm \
    --disable-vp8 --disable-vp9-decoder --enable-vp9-encoder \
    --disable-examples --disable-tools --disable-docs --disable-unit-tests \
    --disable-install-docs --disable-install-bins --disable-install-srcs \
    --enable-static --disable-shared >/dev/null)
  # Its compiler warnings are not ours to mend: kept in a log, shown only if the build fails.
  make -C "$build" -j"$jobs" >"$build/build.log" 2>&1 || { tail -n 40 "$build/build.log"; exit 1; }
  make -C "$build" install >/dev/null
fi

# libwebm: only the muxer (its segment refers to its file writer too), compiled as the program is.
prefix="$deps/libwebm"
if [ ! -f "$prefix/lib/libwebm.a" ]; then
  bash scripts/debian-source.sh libwebm 1.0.0.29-1 "$src_dir"
  webm="$src_dir/libwebm-1.0.0.29"
  build="$deps/build-libwebm"
  mkdir -p "$build" "$prefix/lib" "$prefix/include/mkvmuxer" "$prefix/include/common"
  for source in mkvmuxer mkvmuxerutil mkvwriter; do
    x86_64-w64-mingw32-g++-posix -std=c++11 -O2 -I"$webm" -c "$webm/mkvmuxer/$source.cc" \
      -o "$build/$source.o"
  done
  x86_64-w64-mingw32-ar rcs "$prefix/lib/libwebm.a" "$build"/mkvmuxer*.o "$build/mkvwriter.o"
  cp "$webm"/mkvmuxer/*.h "$prefix/include/mkvmuxer/"
  cp "$webm/common/webmids.h" "$prefix/include/common/"
fi
