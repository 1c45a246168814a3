#!/usr/bin/env bash
# Installs the Debian package into a fresh Debian 12 root with apt, as a user would, checks what
# landed, runs `/usr/bin/trelvinshow /p` there under Xvfb, and the installed module under the real
# mate-screensaver.
#   tests/package/install_test.sh PACKAGE.deb
# Opt-in (TRELVIN_PACKAGE_INSTALL_TEST=1): 5 to 6 minutes the first time (debootstrap, then apt
# fetching some 380 MB), 2 to 4 minutes once the root and the packages are cached.
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
for f in opt/trelvinshow/libtrelvinjpeg.so.1 opt/trelvinshow/about/index.html \
  usr/share/applications/trelvinshow.desktop usr/share/applications/screensavers/trelvinshow.desktop \
  usr/share/xscreensaver/config/trelvinshow.xml usr/share/icons/hicolor/{16x16,32x32}/apps/trelvinshow.png \
  usr/share/sounds/sf2/FluidR3_GM.sf2 \
  usr/lib/x86_64-linux-gnu/gstreamer-1.0/libgst{fluidsynthmidi,playback,autodetect}.so; do
  check test -f "$root/$f"
done
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

# The installed screen-saver entry under the real mate-screensaver: blanking starts the module from
# the daemon's directory in the daemon's window, unblanking ends it. (mate-screensaver is not in
# the package's dependencies; the test brings it.)
say "mate-screensaver runs the installed module"
in_root apt-get install -y -qq --no-install-recommends mate-screensaver dbus-x11 x11-apps x11-utils \
  libglib2.0-bin dconf-gsettings-backend \
  >"$cache/apt-mate.log" 2>&1 || { tail -20 "$cache/apt-mate.log"; echo "FAIL: installing mate-screensaver"; exit 1; }
mkdir -p "$root/tmp/pictures" "$root/root/.config/Trelvin"
rm -f "$root/root/.config/Trelvin/Trelvin.conf"
convert -size 320x200 'xc:rgb(200,40,120)' -quality 95 "$root/tmp/pictures/pink.jpg"
printf '[Settings]\nPath=/tmp/pictures\nShowInterval=600\nMusic=0\n' \
  >"$root/root/.config/Trelvin/Trelvin.conf"
cat >"$root/tmp/mate.sh" <<'SCRIPT'
# mate.sh start | shot | stop: the session of a MATE user, one step at a time.
set -u
module() { for p in /proc/[0-9]*; do
  grep -qa '^/usr/libexec/xscreensaver/trelvinshow' "$p/cmdline" 2>/dev/null && echo "${p#/proc/}"; done; }
wait_for() { for _ in $(seq 300); do eval "$1" && return 0; sleep 0.1; done; return 1; }
export DISPLAY=:5 XDG_CURRENT_DESKTOP=MATE TRELVIN_AUDIO_SINK=fakesink
case $1 in
start)
  Xvfb :5 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  echo "xvfb=$!" >/tmp/mate.env
  wait_for 'xdpyinfo >/dev/null 2>&1' || { echo "no display"; exit 1; }
  dbus-launch --sh-syntax >>/tmp/mate.env
  . /tmp/mate.env
  gsettings set org.mate.screensaver mode single
  gsettings set org.mate.screensaver themes "['screensavers-trelvinshow']"
  gsettings set org.mate.screensaver lock-enabled false
  mate-screensaver --no-daemon --debug >/tmp/mate-screensaver.log 2>&1 &
  echo "daemon=$!" >>/tmp/mate.env
  wait_for 'mate-screensaver-command --query >/dev/null 2>&1' || { echo "no daemon"; exit 1; }
  mate-screensaver-command --activate >/dev/null
  wait_for '[ -n "$(module)" ]' ||
    { echo "no module started"; grep -m3 'Setting command' /tmp/mate-screensaver.log; exit 1; }
  ;;
shot) xwd -root -silent -out /tmp/mate-screen.xwd ;;
stop)
  . /tmp/mate.env
  pid=$(module)
  status=0
  if [ -n "$pid" ]; then
    mate-screensaver-command --deactivate >/dev/null
    wait_for "[ ! -d /proc/$pid ]" || { echo "the module $pid outlived unblanking"; status=1; }
  fi
  kill "$daemon" "$DBUS_SESSION_BUS_PID" "$xvfb" 2>/dev/null
  exit $status
  ;;
esac
SCRIPT
centre() {
  convert "$root/tmp/mate-screen.xwd" -crop 1x1+512+384 -depth 8 txt:- 2>/dev/null |
    sed -n 's/.*srgb(\([0-9]*,[0-9]*,[0-9]*\)).*/\1/p'
}
pink() {  # the picture's colour, give or take what JPEG changes
  awk -F, -v c="$1" 'BEGIN { split(c, x); exit !(x[1] > 190 && x[1] < 210 && x[2] > 30 && x[2] < 50 &&
    x[3] > 110 && x[3] < 130) }'
}
if in_root bash /tmp/mate.sh start; then
  shown=0
  for _ in $(seq 150); do
    in_root bash /tmp/mate.sh shot && pink "$(centre)" && { shown=1; break; }
    sleep 0.2
  done
  convert "$root/tmp/mate-screen.xwd" "$(dirname "$deb")/package-mate-screensaver.png" 2>/dev/null || true
  if [ "$shown" = 1 ]; then echo "ok: mate-screensaver shows the picture"; else
    echo "FAIL: the centre of the screen under mate-screensaver stayed '$(centre)'"; fail=1; fi
else
  echo "FAIL: mate-screensaver did not start the installed module"; fail=1
fi
if in_root bash /tmp/mate.sh stop; then echo "ok: unblanking ended the module"; else fail=1; fi
say "done"
exit $fail
