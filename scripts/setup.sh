#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need (only the missing ones),
# then configures and builds into build/. Safe to run again; fast when nothing is missing.
# SETUP_PACKAGES_ONLY=1 stops after the packages (scripts/test.sh runs the lint before building).
# SETUP_FOR=run installs only what building and running the program needs, and builds nothing
# (scripts/run.sh builds the program alone).
set -euo pipefail
cd "$(dirname "$0")/.."

# Building and running the program.
RUN_PACKAGES=(
  # build
  cmake ninja-build g++ pkg-config
  qt6-base-dev libgl-dev qt6-qpa-plugins
  libjpeg62-turbo-dev
  libx11-dev libxext-dev libxtst-dev libxrandr-dev
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
  # the video maker: the VP9 encoder, libwebm (its muxer's headers come from the source package,
  # which dpkg-dev's apt-get source unpacks)
  libvpx-dev libwebm-dev dpkg-dev
  # run time: media, MIDI synthesis with a General MIDI sound font, desktop integration
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad gstreamer1.0-alsa
  fluid-soundfont-gm xdg-utils fonts-dejavu-core fonts-liberation
  # run time: the WebP reader among Qt's image-format plugins
  qt6-image-formats-plugins
)

# Everything else: the tests, the benchmarks, the lint and the package.
TEST_PACKAGES=(
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # lint
  git clang-format
  # tests and benchmarks: virtual display, window manager, input, pixel read-back, printing
  xvfb xauth openbox xdotool x11-utils x11-xserver-utils imagemagick scrot
  # the two-monitor show test: an X server with the dummy driver's RandR outputs
  xserver-xorg-core xserver-xorg-video-dummy
  cups cups-client cups-bsd
  procps psmisc file
  # the video's checks (gst-discoverer-1.0) and the benchmark's reference encoder
  gstreamer1.0-plugins-base-apps ffmpeg
  # the Wayland capture test and benchmark: a headless GNOME desktop with its screen-cast portal
  mutter xdg-desktop-portal xdg-desktop-portal-gnome pipewire wireplumber gstreamer1.0-pipewire
  qt6-wayland dbus dbus-bin libglib2.0-bin util-linux pipewire-bin
  # the screen-saver daemon the program runs under in its end-to-end test
  xscreensaver
  # packaging: dpkg-shlibdeps for the package's library dependencies, a fresh root for its test
  dpkg-dev debootstrap desktop-file-utils libxml2-utils
)

PACKAGES=("${RUN_PACKAGES[@]}")
[ "${SETUP_FOR:-all}" = run ] || PACKAGES+=("${TEST_PACKAGES[@]}")

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

[ "${SETUP_PACKAGES_ONLY:-0}" = 1 ] || [ "${SETUP_FOR:-all}" = run ] && exit 0

BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo}
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="$BUILD_TYPE" -DTRELVIN_WERROR="${TRELVIN_WERROR:-OFF}" >/dev/null
cmake --build build
