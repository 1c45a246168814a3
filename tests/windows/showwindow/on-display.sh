#!/bin/bash
# Runs a Windows test program on a virtual 1024x768 display of its own, in a Wine prefix whose
# server runs on that display: on-display.sh PREFIX PROGRAM [ARGS...]
set -u
prefix=$1
shift
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
xvfb=
cleanup() {
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT
exec 3< <(exec Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp -ac -noreset 2>/dev/null)
xvfb=$!
read -r -t 60 number <&3 || {
  echo "Xvfb did not start"
  exit 1
}
exec 3<&-
export DISPLAY=":$number"
# A server left from an earlier run would belong to another display.
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
# Without a window manager Wine draws no frames unless told to draw them itself.
mkdir -p "$prefix"
"$here/wine-run.sh" "$prefix" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f \
  >/dev/null 2>&1
"$here/wine-run.sh" "$prefix" "$@"
