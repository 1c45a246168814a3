#!/usr/bin/env bash
# Builds the libraries the Windows program links statically from Debian's own source packages, with
# the mingw-w64 toolchain, into build-windows/deps/. Today that is libjpeg-turbo (with its SIMD
# code, assembled by nasm) for jpeglib.dll. Skips what is already built.
#
# The source comes through a private apt configuration inside the build folder (its own sources
# list with deb-src entries for the machine's mirror, its own state and cache), so the machine's
# apt sources are never changed. `apt-get source` needs dpkg-dev (scripts/setup-windows.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
deps="$PWD/build-windows/deps"
prefix="$deps/libjpeg-turbo"
if [ -f "$prefix/lib/libjpeg.a" ] && [ -f "$prefix/include/jpeglib.h" ]; then
  exit 0
fi
mkdir -p "$deps"

# The mirror and keyring the machine uses for binary packages, as deb-src.
apt_dir="$deps/apt"
mkdir -p "$apt_dir/lists/partial" "$apt_dir/archives/partial" "$apt_dir/parts" "$apt_dir/prefs"
uri=http://deb.debian.org/debian
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
system_sources=/etc/apt/sources.list.d/debian.sources
if [ -f "$system_sources" ]; then
  found=$(awk '/^URIs:/ && !done {print $2; done=1}' "$system_sources")
  [ -n "$found" ] && uri=$found
  found=$(awk '/^Signed-By:/ && !done {print $2; done=1}' "$system_sources")
  [ -n "$found" ] && keyring=$found
fi
cat >"$apt_dir/sources.list.d.sources" <<EOF
Types: deb-src
URIs: $uri
Suites: bookworm
Components: main
Signed-By: $keyring
EOF
mkdir -p "$apt_dir/sources"
mv "$apt_dir/sources.list.d.sources" "$apt_dir/sources/debian-src.sources"
apt_opts=(
  -o Dir::Etc::SourceList=/dev/null
  -o Dir::Etc::SourceParts="$apt_dir/sources"
  -o Dir::Etc::Preferences=/dev/null
  -o Dir::Etc::PreferencesParts="$apt_dir/prefs"
  -o Dir::State="$apt_dir"
  -o Dir::State::Lists="$apt_dir/lists"
  -o Dir::State::status=/var/lib/dpkg/status
  -o Dir::Cache="$apt_dir"
  -o Dir::Cache::Archives="$apt_dir/archives"
  -o Debug::NoLocking=1
  -o APT::Sandbox::User=root
)
src_dir="$deps/src"
if ! ls -d "$src_dir"/libjpeg-turbo-2.1.5 >/dev/null 2>&1; then
  apt-get "${apt_opts[@]}" -qq update
  mkdir -p "$src_dir"
  (cd "$src_dir" && apt-get "${apt_opts[@]}" -qq source libjpeg-turbo=1:2.1.5-2 >/dev/null)
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
