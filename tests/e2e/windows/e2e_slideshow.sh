#!/bin/bash
# End to end under Wine: the screen-saver run's slide show on a 1024 x 768 screen. The picture in
# its place on the background, the "jpg" before the "gif", S, C into the program's folder,
# Delete answered No and Yes, Page Down, Escape ending the run; then the locked saver's Delete. Runs inside with-display.sh
# (DISPLAY and WINEPREFIX set): e2e_slideshow.sh EXE [SCREENSHOT.png]
set -u
# shellcheck source=e2e_common.sh
source "$(dirname "$0")/e2e_common.sh"
exe=$1
screenshot=${2:-}

# The screen's pixel at x y as "r,g,b".
pixel() {
  import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null |
    sed -n 's/^0,0: *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}
# Whether the screen's pixel at $1 $2 has red, green and blue within $3-$4, $5-$6 and $7-$8.
colour_in() {
  local r g b
  IFS=, read -r r g b <<<"$(pixel "$1" "$2")"
  [ -n "$b" ] && [ "$r" -ge "$3" ] && [ "$r" -le "$4" ] && [ "$g" -ge "$5" ] && [ "$g" -le "$6" ] &&
    [ "$b" -ge "$7" ] && [ "$b" -le "$8" ]
}
is_red() { colour_in "$1" "$2" 240 255 0 16 0 16; }
is_green() { colour_in "$1" "$2" 0 16 100 255 0 16; }
is_blue() { [ "$(pixel "$1" "$2")" = 0,0,64 ]; }
centred_red() {
  is_red 352 284 && is_red 671 483 && is_blue 351 284 && is_blue 352 283 && is_blue 672 483
}
centred_green() { is_green 352 284 && is_green 671 483 && is_blue 351 284 && is_blue 672 483; }
stretched_green() { is_green 0 0 && is_green 1023 767 && is_green 200 100; }
question() { xdotool search --onlyvisible --name '^TrelvinShow$' 2>/dev/null | head -1; }
has_question() { [ -n "$(question)" ]; }
no_question() { [ -z "$(question)" ]; }
press() {
  local id
  id=$(show_window) || return 1
  xdotool windowfocus --sync "$id" key "$1"
}
answer() {
  wait_until 30 has_question || {
    fail "no question titled TrelvinShow after $1"
    return 1
  }
  xdotool windowfocus --sync "$(question)" key "$2"
  wait_until 30 no_question || fail "the question stayed after $2"
}

# A folder with a red 320 x 200 JPEG and a green GIF; the interval at its longest, so that only
# the keys change the slide; no music.
pictures="$prefix/drive_c/e2eshow"
rm -rf "$pictures"
mkdir -p "$pictures"
convert -size 320x200 xc:'rgb(255,0,0)' -quality 95 "$pictures/red.jpg"
convert -size 320x200 xc:'rgb(0,160,0)' "$pictures/green.gif"
program_dir=$(dirname "$exe")
rm -f "$program_dir/green.gif"
run reg delete 'HKCU\Software\VB and VBA Program Settings\Trelvin' /f >/dev/null 2>&1
run reg add "$key" /v Path /d 'C:\e2eshow' /f >/dev/null 2>&1
run reg add "$key" /v ShowInterval /d 600 /f >/dev/null 2>&1
run reg add "$key" /v Music /d 0 /f >/dev/null 2>&1

run "$exe" /s </dev/null >/dev/null 2>&1 &
show=$!
if wait_until 120 centred_red; then
  pass "the red JPEG at (352,284) on (0,0,64), before the GIF"
  [ -n "$screenshot" ] && import -window root "$screenshot"
  # The first timed change passed the JPEG: S shows the next picture, the GIF, stretched; S
  # again shows it centred.
  press s
  wait_until 30 stretched_green && pass "S showed the GIF stretched over the screen" ||
    fail "S did not stretch the GIF"
  [ -n "$screenshot" ] && import -window root "${screenshot%.png}-stretched.png"
  press s
  wait_until 30 centred_green && pass "S again centred it" || fail "S again did not centre"

  press c
  answer C y
  wait_until 30 test -f "$program_dir/green.gif" && pass "C copied it into the program's folder" ||
    fail "C: no copy in $program_dir"

  press Delete
  answer Delete n
  [ -f "$pictures/green.gif" ] && pass "Delete answered No kept the file" || fail "No deleted it"
  press Delete
  answer Delete y
  wait_until 30 sh -c "! test -e '$pictures/green.gif'" && pass "Delete answered Yes removed it" ||
    fail "Yes kept the file"

  press Next
  wait_until 30 centred_red && pass "Page Down went round to the JPEG" || fail "no JPEG after Page Down"

  press Escape
  expect_end "$show" "Escape"
else
  fail "no centred red picture on the dark blue screen (pixel at 352,284: $(pixel 352 284))"
  [ -n "$screenshot" ] && import -window root "$screenshot"
  kill "$show" 2>/dev/null
fi
rm -f "$program_dir/green.gif"

# The system's run of a password-protected saver ("On resume, display logon screen"): Delete asks
# nothing and ends the show as any other key does; the picture stays.
run reg add 'HKCU\Control Panel\Desktop' /v ScreenSaverIsSecure /d 1 /f >/dev/null 2>&1
run "$exe" /s </dev/null >/dev/null 2>&1 &
show=$!
if wait_until 120 centred_red; then
  press Delete
  expect_end "$show" "the locked saver's Delete" ||
    { has_question && xdotool windowfocus --sync "$(question)" key n; }
  [ -f "$pictures/red.jpg" ] && pass "the locked saver kept the picture" ||
    fail "the locked saver deleted the picture"
else
  fail "the locked saver showed no picture"
  kill "$show" 2>/dev/null
fi
run reg delete 'HKCU\Control Panel\Desktop' /v ScreenSaverIsSecure /f >/dev/null 2>&1
rm -rf "$pictures"

echo "$failures failure(s)"
[ $failures -eq 0 ]
