#!/usr/bin/env bash
# Installs the Debian package into a fresh Debian 12 root with apt, as a user would, checks what
# landed, and runs `/usr/bin/trelvinshow /p` there under Xvfb.
#   tests/package/install_test.sh PACKAGE.deb
# Opt-in (TRELVIN_PACKAGE_INSTALL_TEST=1): about 4 to 5 minutes the first time (debootstrap, then
# apt fetching some 360 MB), about 2 minutes once the root and the packages are cached.
# Needs root (debootstrap, chroot, mounts) and the Debian mirror; exits 77 (skipped) without them.
# The pristine root is made once with debootstrap and kept in $TRELVIN_DEBIAN_ROOT_CACHE
# (default /tmp/trelvin-debian-root) with the packages apt downloaded; each run works on a copy.
set -euo pipefail

deb=$(realpath "$1")
cache=${TRELVIN_DEBIAN_ROOT_CACHE:-/tmp/trelvin-debian-root}
say() { printf '%s %s\n' "$(date +%T)" "$*"; }

[ "${TRELVIN_PACKAGE_INSTALL_TEST:-0}" = 1 ] ||
  { echo "skipped: set TRELVIN_PACKAGE_INSTALL_TEST=1 to install the package into a fresh root"; exit 77; }
[ "$(id -u)" -eq 0 ] || { echo "skipped: needs root for chroot"; exit 77; }
command -v debootstrap >/dev/null || { echo "skipped: debootstrap is not installed"; exit 77; }
mirror=$(awk '/^URIs:/{print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
[ -n "$mirror" ] || mirror=$(awk '/^deb /{print $2; exit}' /etc/apt/sources.list 2>/dev/null || true)
mirror=${mirror:-http://deb.debian.org/debian}

pristine=$cache/pristine
mkdir -p "$cache"
# One maker at a time; a root is complete only once its marker exists.
exec 9>"$cache/lock"
flock 9
if [ ! -f "$pristine/.trelvin-complete" ]; then
  say "making a fresh Debian 12 root with debootstrap (cached in $pristine)"
  rm -rf "$pristine"
  if ! debootstrap --variant=minbase bookworm "$pristine" "$mirror" >"$cache/debootstrap.log" 2>&1; then
    tail -20 "$cache/debootstrap.log"
    echo "skipped: debootstrap failed (no mirror?), see $cache/debootstrap.log"
    exit 77
  fi
  cp /etc/apt/sources.list.d/debian.sources "$pristine/etc/apt/sources.list.d/" 2>/dev/null || true
  touch "$pristine/.trelvin-complete"
fi
flock -u 9

root=$(mktemp -d "$cache/root-XXXXXX")
cleanup() {
  # Whatever still runs inside the root (a server that is still exiting) goes first, by its id.
  for proc in /proc/[0-9]*; do
    [[ "$(readlink "$proc/root" 2>/dev/null)" == "$root" ]] && kill -9 "${proc#/proc/}" 2>/dev/null
  done
  for _ in $(seq 50); do
    umount -R "$root/dev" 2>/dev/null || true
    umount "$root/proc" "$root/tmp" "$root/var/cache/apt/archives" 2>/dev/null || true
    grep -q " $root/" /proc/mounts || break
    sleep 0.2
  done
  grep -q " $root/" /proc/mounts || rm -rf --one-file-system "$root"
}
trap cleanup EXIT
say "copying the pristine root"
cp -a "$pristine/." "$root/"
cp /etc/resolv.conf "$root/etc/" 2>/dev/null || true
# The host's sources (with the security and update suites) replace debootstrap's single line.
[ -f "$root/etc/apt/sources.list.d/debian.sources" ] && rm -f "$root/etc/apt/sources.list"
mount -t proc proc "$root/proc"
mount --rbind /dev "$root/dev"
mount --make-rslave "$root/dev"
mount -t tmpfs tmpfs "$root/tmp"
# Downloaded packages outlive the copy, so a second run need not fetch them again.
mkdir -p "$cache/archives/partial"
mount --bind "$cache/archives" "$root/var/cache/apt/archives"
cp "$deb" "$root/tmp/"
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
  DEBIAN_FRONTEND=noninteractive LANG=C.UTF-8 "$@"; }

say "apt install ./$(basename "$deb")"
in_root apt-get update -qq
in_root apt-get install -y -qq "/tmp/$(basename "$deb")" >"$cache/apt-install.log" 2>&1 ||
  { tail -30 "$cache/apt-install.log"; echo "FAIL: apt install"; exit 1; }

fail=0
check() {
  local what=${*: -1}
  if "$@" >/dev/null 2>&1; then echo "ok: ${what#"$root"}"; else echo "FAIL: ${*#"$root"}"; fail=1; fi
}
say "checking the installation"
check test -x "$root/opt/trelvinshow/trelvinshow"
check test "$(readlink -f "$root/usr/bin/trelvinshow")" = "$root/opt/trelvinshow/trelvinshow"
check test "$(readlink -f "$root/usr/libexec/xscreensaver/trelvinshow")" = "$root/opt/trelvinshow/trelvinshow"
check test -f "$root/opt/trelvinshow/libtrelvinjpeg.so.1"
check test -f "$root/opt/trelvinshow/about/index.html"
check test -f "$root/usr/share/applications/trelvinshow.desktop"
check test -f "$root/usr/share/applications/screensavers/trelvinshow.desktop"
check test -f "$root/usr/share/xscreensaver/config/trelvinshow.xml"
check test -f "$root/usr/share/icons/hicolor/16x16/apps/trelvinshow.png"
check test -f "$root/usr/share/icons/hicolor/32x32/apps/trelvinshow.png"
check test -f "$root/usr/share/sounds/sf2/FluidR3_GM.sf2"
check test -f "$root/usr/lib/x86_64-linux-gnu/gstreamer-1.0/libgstfluidsynthmidi.so"
check test -f "$root/usr/lib/x86_64-linux-gnu/gstreamer-1.0/libgstplayback.so"
check test -f "$root/usr/lib/x86_64-linux-gnu/gstreamer-1.0/libgstautodetect.so"
check test -x "$root/usr/bin/xdg-open"
# Every library resolves, the converter through the executable's $ORIGIN run path.
libs=$(in_root ldd /opt/trelvinshow/trelvinshow)
if grep -q 'not found' <<<"$libs"; then
  echo "FAIL: libraries not found:"; grep 'not found' <<<"$libs"; fail=1
else
  echo "ok: every library found"
fi
check grep -q 'libtrelvinjpeg.so.1 => /opt/trelvinshow/libtrelvinjpeg.so.1' <<<"$libs"

# Only now the test's own tools, so they cannot hide a dependency the package forgot.
say "running /usr/bin/trelvinshow /p under Xvfb"
in_root apt-get install -y -qq --no-install-recommends xvfb xauth >"$cache/apt-xvfb.log" 2>&1 ||
  { tail -20 "$cache/apt-xvfb.log"; echo "FAIL: installing Xvfb"; exit 1; }
status=0
in_root timeout 120 xvfb-run -a /usr/bin/trelvinshow /p >"$cache/run.log" 2>&1 || status=$?
if [ "$status" -eq 0 ]; then echo "ok: trelvinshow /p exit 0"; else
  cat "$cache/run.log"; echo "FAIL: trelvinshow /p exit $status"; fail=1; fi
say "done"
exit $fail
