#!/bin/bash
# Runs the Windows capture benchmark under Wine on Xvfb screens of 1920 x 1080 and 3840 x 2160,
# each with a Wine prefix of its own under the build folder:
#   bench/windows/run-capture-bench.sh [BUILD_DIR] [benchmark arguments...]
set -u
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build-windows}" && pwd)
shift || true
for screen in 1920x1080 3840x2160; do
  exec 3< <(exec Xvfb -displayfd 1 -screen 0 "${screen}x24" -nolisten tcp -ac -noreset 2>/dev/null)
  xvfb=$!
  read -r -t 60 number <&3 || { echo "Xvfb did not start"; exit 1; }
  exec 3<&-
  prefix="$build/wineprefix-bench"
  DISPLAY=":$number" "$here/../../tests/os/windows/wine-run.sh" "$prefix" "$build/capture_bench.exe" "$@"
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null
  WINEPREFIX="$prefix" wineserver -w 2>/dev/null
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
done
