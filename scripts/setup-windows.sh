#!/usr/bin/env bash
# Installs the Debian packages the Windows build and its Wine tests need (only the missing ones).
# Safe to run again; fast when nothing is missing.
set -euo pipefail

PACKAGES=(
  # build: the mingw-w64 cross toolchain (posix thread model), CMake, GoogleTest's sources
  cmake ninja-build
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
  binutils-mingw-w64-x86-64 googletest
  # libraries built from Debian's source packages for Windows
  nasm dpkg-dev
  # the installer (scripts/package-windows.sh)
  nsis
  # tests: Wine 8 (64-bit only) with the fonts its dialogs use, a virtual display, input, read-back
  wine wine64 fonts-wine fonts-liberation
  xvfb xauth xdotool x11-utils imagemagick procps
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  # Wine's own recommendations pull in the 32-bit part, which cannot install without i386.
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
