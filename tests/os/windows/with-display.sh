#!/bin/bash
# Runs a command on a virtual display of its own (Xvfb with openbox) with a Wine prefix of its own
# whose server runs on that display: with-display.sh PREFIX COMMAND [ARGS...]; PREFIX "-" for a
# display without Wine (the Linux conformance tests).
# The command sees DISPLAY and WINEPREFIX; the server, the window manager and Xvfb end with it.
set -u
prefix=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
pids=()
cleanup() {
  [ "$prefix" = - ] || WINEPREFIX="$prefix" wineserver -k 2>/dev/null
  [ "$prefix" = - ] || WINEPREFIX="$prefix" wineserver -w 2>/dev/null
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
}
trap cleanup EXIT

# Xvfb picks a free display number and reports it.
exec 3< <(exec Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp -ac -noreset 2>/dev/null)
pids+=($!)
read -r -t 60 number <&3 || {
  echo "Xvfb did not start"
  exit 1
}
exec 3<&-
export DISPLAY=":$number"
openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
end=$((SECONDS + 60))
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window; do
  [ $SECONDS -ge $end ] && {
    echo "openbox did not start"
    exit 1
  }
  sleep 0.1
done

if [ "$prefix" = - ]; then
  "$@"
  exit
fi
export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
# A server left from an earlier run would belong to another display.
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
# Starts the Wine server on this display (the prefix is made on the first run).
"$here/wine-run.sh" "$prefix" cmd /c exit </dev/null >/dev/null 2>&1
"$@"
