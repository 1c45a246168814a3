#!/bin/bash
# End to end under Wine: the settings window, the registry read at start and written at close, the
# run modes and the single instance. Runs inside with-display.sh (DISPLAY and WINEPREFIX set):
# e2e_settings.sh EXE [SCREENSHOT.png]
set -u
# shellcheck source=e2e_common.sh
source "$(dirname "$0")/e2e_common.sh"
exe=$1
screenshot=${2:-}

reg_value() {
  run reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$1 *REG_SZ *//p"
}
windows() { xdotool search --onlyvisible --name "$title" 2>/dev/null; }
no_window() { [ -z "$(windows)" ]; }
# Starts the settings window ("/c") in the background as $first and waits for it, as $id.
open_settings() {
  run "$exe" /c </dev/null >/dev/null 2>&1 &
  first=$!
  wait_until 120 sh -c "xdotool search --onlyvisible --name '$title' >/dev/null 2>&1" &&
    id=$(windows | head -1)
}

run reg delete 'HKCU\Software\VB and VBA Program Settings\Trelvin' /f >/dev/null 2>&1
run reg add "$key" /v CaptureInterval /d 700 /f >/dev/null 2>&1
run reg add "$key" /v Music /d 2 /f >/dev/null 2>&1
run reg add "$key" /v Path /d 'C:\Pics' /f >/dev/null 2>&1

# "/p": ends at once, shows nothing, writes nothing (the warm server's second try counts, so a
# one-off stall of the machine does not decide).
for attempt in 1 2; do
  start=$(date +%s%N)
  run "$exe" /p 1234 </dev/null >/dev/null 2>&1
  status=$?
  elapsed=$((($(date +%s%N) - start) / 1000000))
  [ $elapsed -lt 2000 ] && break
done
[ $status -eq 0 ] && [ $elapsed -lt 2000 ] && pass "/p ended in $elapsed ms" ||
  fail "/p: status $status after $elapsed ms"
no_window && pass "/p showed no window" || fail "/p left a window"
[ "$(reg_value CaptureInterval)" = 700 ] && pass "/p wrote nothing" || fail "/p wrote settings"

# "/c": the settings window, 278 x 173 client pixels at 96 dpi.
if open_settings; then
  size=$(xwininfo -id "$id" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
  [ "$size" = 278x173 ] && pass "client area $size" || fail "client area $size, not 278x173"
  if [ -n "$screenshot" ]; then
    xdotool mousemove 0 0
    sleep 1  # let a tooltip under the old pointer position go
    import -window root "$screenshot"
  fi

  # "Directory..." opens the shell's folder dialog owned by the window; cancelled, nothing changes.
  xdotool mousemove --window "$id" 242 51 click 1
  if wait_until 60 sh -c "xdotool search --onlyvisible --name '^Browse for Folder$' >/dev/null 2>&1"
  then
    pass "the folder dialog opened"
    dialog=$(xdotool search --onlyvisible --name '^Browse for Folder$' | head -1)
    xdotool windowfocus --sync "$dialog" key Escape
    wait_until 30 sh -c "! xdotool search --onlyvisible --name '^Browse for Folder$' >/dev/null 2>&1" ||
      fail "the folder dialog stayed after Escape"
  else
    fail "no folder dialog after a click on Directory..."
  fi

  # A second start while the first runs ends at once, without a window of its own.
  run "$exe" /c </dev/null >/dev/null 2>&1
  status=$?
  count=$(windows | wc -l)
  [ $status -eq 0 ] && [ "$count" -eq 1 ] && pass "second instance ended at once" ||
    fail "second instance: status $status, $count windows"

  # The screen saver is the same program under another name: one lock per user, so it ends at once.
  run "${exe%.exe}.scr" /s </dev/null >/dev/null 2>&1 &
  saver=$!
  if wait_until 30 sh -c "! kill -0 $saver 2>/dev/null"; then
    count=$(windows | wc -l)
    [ "$count" -eq 1 ] && pass "the .scr ended at once beside the .exe" ||
      fail "the .scr beside the .exe: $count windows"
  else
    fail "the .scr ran beside the .exe"
    show=$(show_window) && xdotool windowfocus --sync "$show" key Escape
    wait_until 30 sh -c "! kill -0 $saver 2>/dev/null" || kill "$saver" 2>/dev/null
  fi

  # Closed through the window manager (_NET_CLOSE_WINDOW, WM_CLOSE for the program).
  wmctrl -i -c "$id"
  expect_end "$first" "the window was closed"
  wait_until 10 no_window || fail "the window stayed"
else
  fail "no window titled Trelvin Show $version"
fi

# The eight values as written at unload: the refused 700 as the scroll bar's 1, the grayed box as
# 2, the path with its "\", the rest at their defaults.
expect() {
  local got
  got=$(reg_value "$1")
  [ "$got" = "$2" ] && pass "$1 = $got" || fail "$1 = '$got', not '$2'"
}
for value in 'Path=C:\Pics\' CompressionLevel=60 CaptureInterval=1 ShowInterval=10 StretchImage=0 \
  Music=2 Random=0 MP3=0; do
  expect "${value%%=*}" "${value#*=}"
done

# At 192 dpi (200 %) the same layout, scaled: twice the client area.
run reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1
if open_settings; then
  size=$(xwininfo -id "$id" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
  [ "$size" = 556x346 ] && pass "client area at 192 dpi $size" ||
    fail "client area at 192 dpi $size, not 556x346"
  wmctrl -i -c "$id"
  wait_until 60 sh -c "! kill -0 $first 2>/dev/null" || fail "did not end at 192 dpi"
else
  fail "no window at 192 dpi"
fi
wait "$first" 2>/dev/null
run reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1

# Logging off with a changed setting in the open window: Wine's end of the session sends
# WM_QUERYENDSESSION and WM_ENDSESSION, and the setting reaches the registry before the end.
if open_settings; then
  # The value label's picture: drawn once it has text, changed once the click has been taken in.
  label() { import -window "$id" -crop 63x14+213+24 +repage txt:- 2>/dev/null | md5sum; }
  drawn() {
    local colours
    colours=$(import -window "$id" -crop 63x14+213+24 +repage -format %k info: 2>/dev/null)
    [ "${colours:-0}" -gt 1 ]
  }
  wait_until 30 drawn || fail "the value label was not drawn"
  before=$(label)
  # The right arrow of "Capture Interval" (1 as written above), at 96 dpi.
  xdotool mousemove --window "$id" 201 31 click 1
  changed() { [ "$(label)" != "$before" ]; }
  wait_until 30 changed || fail "the arrow's click did not change the value"
  run wineboot --end-session </dev/null >/dev/null 2>&1
  if wait_until 60 sh -c "! kill -0 $first 2>/dev/null"; then
    expect CaptureInterval 2
  else
    fail "the program outlived the end of the session"
    kill "$first" 2>/dev/null
  fi
else
  fail "no window for the end of the session"
fi
wait "$first" 2>/dev/null

# Any other argument runs the slide show (here without pictures: the dark blue screen), which a
# key ends; then the settings are written, with the program's own folder as the default path.
run reg delete 'HKCU\Software\VB and VBA Program Settings\Trelvin' /f >/dev/null 2>&1
run "$exe" /s </dev/null >/dev/null 2>&1 &
first=$!
if wait_until 120 show_window >/dev/null; then
  xdotool windowfocus --sync "$(show_window)" key Escape
  expect_end "$first" "Escape on /s"
else
  fail "/s showed no slide-show window"
  kill "$first" 2>/dev/null
fi
wait_until 10 no_window && pass "/s left no window" || fail "/s left a window"
dir=$(run winepath -w "$(dirname "$exe")" 2>/dev/null | tr -d '\r')
expect Path "${dir%\\}\\"
expect CompressionLevel 60

echo "$failures failure(s)"
[ $failures -eq 0 ]
