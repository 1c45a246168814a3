#!/usr/bin/env bash
# The program under the real xscreensaver daemon, set up as the user's guide says (the
# `programs:` line of ~/.xscreensaver): blanking shows the slide show, unblanking ends the module.
#   tests/e2e/xscreensaver_daemon_test.sh BUILD_DIR
# Skipped (77) without xscreensaver. xscreensaver runs no module as root, so as root the display,
# the daemon and the program run as "nobody".
set -euo pipefail
build=$(realpath "$1")
command -v xscreensaver >/dev/null || { echo "skipped: xscreensaver is not installed"; exit 77; }

as=()
if [ "$(id -u)" -eq 0 ]; then
  as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
work=$(mktemp -d /tmp/trelvin-xss-XXXXXX)
chmod 755 "$work"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; echo "--- daemon log:"; tail -20 "$work/xscreensaver.log" 2>/dev/null; exit 1; }

mkdir -p "$work/pictures" "$work/bin" "$work/config/Trelvin" "$work/runtime"
convert -size 320x200 'xc:rgb(200,40,120)' -quality 95 "$work/pictures/pink.jpg"
printf '[Settings]\nPath=%s\nShowInterval=600\nStretchImage=0\nMusic=0\nRandom=0\n' \
  "$work/pictures" >"$work/config/Trelvin/Trelvin.conf"
cp "$work/config/Trelvin/Trelvin.conf" "$work/settings-before"
# A copy, not a link: the daemon runs as another user, who may not enter the build folder (a
# clone under /root, say); the program finds its library beside itself.
cp "$build/trelvinshow" "$work/bin/trelvinshow"
cp -P "$build"/libtrelvinjpeg.so* "$work/bin/"
cp -r "$build/about" "$work/bin/about"
cat >"$work/.xscreensaver" <<'CONFIG'
timeout:	0:30:00
lock:		False
fade:		False
unfade:		False
splash:		False
mode:		one
selected:	0
programs:								      \
		"Trelvin Show"  trelvinshow --root			    \n\

CONFIG
[ ${#as[@]} -eq 0 ] || chown -R nobody:nogroup "$work"
chmod 700 "$work/runtime"

# A display of the test's own; -displayfd tells its number.
exec 3<> <(:)
"${as[@]}" Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -ac -noreset 3>"$work/display" \
  >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 300); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
display=":$(head -1 "$work/display")"
env_of_user=(env -i DISPLAY="$display" HOME="$work" XDG_CONFIG_HOME="$work/config"
  XDG_RUNTIME_DIR="$work/runtime" PATH="$work/bin:/usr/bin:/bin" TRELVIN_AUDIO_SINK="fakesink")

"${as[@]}" "${env_of_user[@]}" xscreensaver -no-splash -verbose >"$work/xscreensaver.log" 2>&1 &
pids+=($!)
ready=0
for _ in $(seq 300); do
  if "${as[@]}" "${env_of_user[@]}" xscreensaver-command -time >/dev/null 2>&1; then ready=1; break; fi
  sleep 0.1
done
[ "$ready" = 1 ] || fail "xscreensaver did not come up"
"${as[@]}" "${env_of_user[@]}" xscreensaver-command -activate >/dev/null

pixel() {  # prints "R,G,B" of the screen at X,Y
  import -display "$display" -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null |
    sed -n 's/.*srgb(\([0-9]*,[0-9]*,[0-9]*\)).*/\1/p'
}
near() {  # whether colour $1 is within 6 of $2 in each channel (JPEG is lossy)
  awk -F, -v a="$1" -v b="$2" 'BEGIN { split(a, x); split(b, y); ok = x[1] != "";
    for (i = 1; i <= 3; i++) { d = x[i] - y[i]; if (d < -6 || d > 6) ok = 0 } exit !ok }'
}
shown=0
for _ in $(seq 300); do
  if near "$(pixel 512 384)" 200,40,120 && near "$(pixel 5 5)" 0,0,64; then shown=1; break; fi
  sleep 0.1
done
[ "$shown" = 1 ] || fail "blanking did not show the slide show (centre $(pixel 512 384), corner $(pixel 5 5))"
import -display "$display" -window root "$build/e2e-xscreensaver-daemon.png" 2>/dev/null || true
echo "ok: xscreensaver shows the slide show"

module=$(sed -n 's/.*forked "trelvinshow --root" in pid \([0-9]*\).*/\1/p' "$work/xscreensaver.log" | tail -1)
[ -n "$module" ] || fail "the daemon's log does not name the module's process"
"${as[@]}" "${env_of_user[@]}" xscreensaver-command -deactivate >/dev/null
for _ in $(seq 300); do [ -d "/proc/$module" ] || break; sleep 0.1; done
[ ! -d "/proc/$module" ] || fail "the module $module still runs after unblanking"
echo "ok: unblanking ended the module"
cmp -s "$work/settings-before" "$work/config/Trelvin/Trelvin.conf" || fail "the settings were written"
echo "ok: settings untouched"
