# Shared by the Windows end-to-end scripts (sourced, not run): the registry key, the window title,
# the pass/fail tally, polling and running a program in the test's Wine prefix. Expects
# WINEPREFIX set by with-display.sh and TRELVIN_VERSION (the project's version) by CTest.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# The Wine wrapper lies with the other Windows test tools.
wine_run=$(cd "$here/../../os/windows" && pwd)/wine-run.sh
prefix=$WINEPREFIX
key='HKCU\Software\VB and VBA Program Settings\Trelvin\Settings'
version=${TRELVIN_VERSION:?TRELVIN_VERSION is set by CTest}
title="^Trelvin Show ${version//./\\.}\$"
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
pass() { echo "ok: $*"; }

# Polls a command every 100 ms until it succeeds or $1 seconds pass.
wait_until() {
  local limit=$1
  shift
  local end=$((SECONDS + limit))
  while ! "$@"; do
    [ $SECONDS -ge $end ] && return 1
    sleep 0.1
  done
}

run() { "$wine_run" "$prefix" "$@"; }
