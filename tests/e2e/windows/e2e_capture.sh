#!/bin/bash
# End to end under Wine: timed capture of the whole screen and the emulator launcher. Runs inside
# with-display.sh (DISPLAY and WINEPREFIX set):
# e2e_capture.sh DIST_DIR STAND_IN.exe [CAPTURE.png]
# The program runs from a copy of DIST_DIR holding the stand-in as "MyVGS.EXE", with CaptureInterval
# 1 and Path a fresh folder; the screen shows a blue root and a red window at known places.
set -u
# shellcheck source=e2e_common.sh
source "$(dirname "$0")/e2e_common.sh"
dist=$1
stand_in=$2
keep=${3:-}
pattern_title='Trelvin capture pattern'

windows() { xdotool search --onlyvisible --name "$title" 2>/dev/null; }
has_window() { [ -n "$(windows)" ]; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }
captures() { find "$shots" -maxdepth 1 -name '*.jpg' -printf '%f\n' | sort; }
capture_count() { captures | wc -l; }
at_least() { [ "$(capture_count)" -ge "$1" ]; }

# The program's window is drawn (Wine has taken in its mapping): light grey inside the button.
painted() {
  local x y
  read -r x y < <(xwininfo -id "$id" 2>/dev/null | awk '
    /Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4} END {print x + 124, y + 150}')
  [ "$(import -window root miff:- 2>/dev/null | convert miff:- -crop "1x1+$x+$y" -depth 8 txt:- 2>/dev/null |
    sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p' |
    awk '{print ($1 > 180 && $2 > 180 && $3 > 180)}')" = 1 ]
}

work=$(mktemp -d)
pattern_pid=
program_pid=
cleanup() {
  [ -n "$pattern_pid" ] && kill "$pattern_pid" 2>/dev/null
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

prog="$work/TrelvinShow"
# A folder name the ANSI code page cannot spell (Cyrillic and an emoji): the converter must still
# reach it, and no BMP may stay behind.
shots_name='Снимки 📷'
shots="$work/$shots_name"
cp -r "$dist" "$prog"
cp "$stand_in" "$prog/MyVGS.EXE"
rm -f "$prog/vgs-started.txt"
mkdir "$shots"
prog_win=$(run winepath -w "$prog" 2>/dev/null | tr -d '\r')
work_win=$(run winepath -w "$work" 2>/dev/null | tr -d '\r')
shots_win="${work_win%\\}\\$shots_name"

run reg delete 'HKCU\Software\VB and VBA Program Settings\Trelvin' /f >/dev/null 2>&1
run reg add "$key" /v CaptureInterval /d 1 /f >/dev/null 2>&1
# The path goes in through a UTF-16 .reg file, whatever the locale's own encoding.
{
  printf '\xff\xfe'
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[%s]\r\n"Path"="%s"\r\n' \
    "${key/HKCU/HKEY_CURRENT_USER}" "${shots_win//\\/\\\\}" | iconv -f UTF-8 -t UTF-16LE
} >"$work/path.reg"
run regedit /s "$(run winepath -w "$work/path.reg" 2>/dev/null | tr -d '\r')" >/dev/null 2>&1

# The known picture: a blue root window and a red X client (not a Wine window) in the lower right.
xsetroot -solid '#2040c0'
display -title "$pattern_title" -geometry +600+420 -size 320x240 xc:'#d02020' &
pattern_pid=$!
if ! wait_until 60 sh -c "xdotool search --onlyvisible --name '^$pattern_title\$' >/dev/null 2>&1"
then
  fail "the pattern window did not show"
  exit 1
fi
pattern_id=$(xdotool search --onlyvisible --name "^$pattern_title\$" | head -1)
read -r red_x red_y < <(xwininfo -id "$pattern_id" | awk '
  /Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4}
  /Width:/ {w=$2} /Height:/ {h=$2} END {print int(x + w / 2), int(y + h / 2)}')
read -r screen_w screen_h < <(xwininfo -root | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
blue_x=8
blue_y=$((screen_h - 8))

# Started from another folder: the stand-in must still run in the program's own one.
(cd "$work" && exec "$wine_run" "$prefix" "$prog/TrelvinShow.exe" /c </dev/null >/dev/null 2>&1) &
program_pid=$!
if ! wait_until 120 has_window; then
  fail "no window titled Trelvin Show $version"
  exit 1
fi
id=$(windows | head -1)
wait_until 30 painted || fail "the window was not drawn"


# "&Start" at its place in the fixed layout (client coordinates at 96 dpi), clicked as a user does:
# the same path as a real click, and the button's place is part of the form.
xdotool mousemove --window "$id" 155 158 click 1
xdotool mousemove 0 0
if wait_until 30 at_least 1; then
  first_ms=$(now_ms)
  if wait_until 10 at_least 3; then
    third_ms=$(now_ms)
    span=$((third_ms - first_ms))
    [ $span -le 4500 ] && pass "three captures $span ms after the first" ||
      fail "three captures took $span ms after the first"
  else
    fail "only $(capture_count) capture(s) within 10 s of the first"
  fi
else
  fail "no capture within 30 s of Start"
fi
wait_until 5 sh -c "! xdotool search --onlyvisible --name '$title' >/dev/null 2>&1" &&
  pass "the window is minimised while capturing" || fail "the window stayed while capturing"

# "&Stop": the window is restored through the window manager (_NET_ACTIVE_WINDOW), then the same
# button is clicked. A tick handled before the click may still finish; after one interval nothing
# may come for two more. Wine takes in the restore a moment after X shows the window, and a click
# before that misses the button; that shows as captures going on, and then the click is repeated
# (a pass still needs two whole intervals without a capture, which only a stop gives).
wmctrl -i -a "$id"
if wait_until 30 has_window && wait_until 30 painted; then
  stopped=
  for click in 1 2 3 4 5; do
    xdotool mousemove --window "$id" 155 158 click 1
    xdotool mousemove 0 0
    stop_ms=$(now_ms)
    while [ $(($(now_ms) - stop_ms)) -lt 1000 ]; do sleep 0.1; done
    after_stop=$(captures)
    count=$(capture_count)
    while [ $(($(now_ms) - stop_ms)) -lt 3000 ] && [ "$(captures)" = "$after_stop" ]; do sleep 0.1; done
    if [ "$(captures)" = "$after_stop" ]; then
      stopped=1
      break
    fi
  done
  [ -n "$stopped" ] && pass "no capture for two intervals after Stop ($count files, $click click(s))" ||
    fail "captures went on after Stop ($click clicks)"
else
  fail "the window could not be restored"
fi

# Every file: a whole-screen JPEG named yyyymmddhhmmss.jpg showing the pattern; nothing else left.
others=$(find "$shots" -mindepth 1 -maxdepth 1 -printf '%f\n' | grep -Ev '^[0-9]{14}\.jpg$' | tr '\n' ' ')
[ -z "$others" ] && pass "only yyyymmddhhmmss.jpg files" || fail "left behind: $others"
# Near the expected colour after JPEG compression: each channel within 40.
near() {
  local file=$1 x=$2 y=$3 r=$4 g=$5 b=$6 got
  got=$(convert "$file" -format "%[fx:int(255*p{$x,$y}.r+0.5)] %[fx:int(255*p{$x,$y}.g+0.5)] %[fx:int(255*p{$x,$y}.b+0.5)]" info: 2>/dev/null)
  read -r gr gg gb <<<"$got"
  [ -n "${gb:-}" ] &&
    [ $(((gr - r) ** 2 < 1600 && (gg - g) ** 2 < 1600 && (gb - b) ** 2 < 1600)) -eq 1 ] || {
    echo "  $file ($x,$y) is '$got', not near $r $g $b"
    return 1
  }
}
checked=0
for name in $(captures); do
  file="$shots/$name"
  info=$(identify -format '%m %w %h' "$file" 2>/dev/null)
  [ "$info" = "JPEG $screen_w $screen_h" ] || fail "$name: '$info', not a ${screen_w}x$screen_h JPEG"
  near "$file" "$red_x" "$red_y" 208 32 32 || fail "$name: no red window at $red_x,$red_y"
  near "$file" "$blue_x" "$blue_y" 32 64 192 || fail "$name: no blue root at $blue_x,$blue_y"
  checked=$((checked + 1))
done
[ $checked -ge 3 ] && pass "$checked captures of ${screen_w}x$screen_h with the pattern checked"
if [ -n "$keep" ] && [ $checked -gt 0 ]; then
  convert "$shots/$(captures | head -1)" "$keep"
fi

# The launcher: no emulator window, so Start ran MyVGS.EXE in the program's folder.
if wait_until 30 test -s "$prog/vgs-started.txt"; then
  started_in=$(cat "$prog/vgs-started.txt")
  [ "${started_in%\\}" = "${prog_win%\\}" ] && pass "MyVGS.EXE started in $started_in" ||
    fail "MyVGS.EXE started in '$started_in', not '$prog_win'"
else
  fail "MyVGS.EXE was not started"
fi

# Closed through the window manager.
wmctrl -i -c "$id"
expect_end "$program_pid" "the window was closed" && program_pid=

echo "$failures failure(s)"
[ $failures -eq 0 ]
