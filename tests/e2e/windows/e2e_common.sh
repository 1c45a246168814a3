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

# The slide show's window: the program's one that covers the 1024 x 768 screen.
show_window() {
  local id
  for id in $(xdotool search --onlyvisible --classname 'trelvinshow' 2>/dev/null); do
    xwininfo -id "$id" 2>/dev/null | grep -q 'Width: 1024' && echo "$id" && return 0
  done
  return 1
}

# Waits for the program $1 to end after $2 and checks that it ended with status 0; ends it and
# fails when it does not end.
expect_end() {
  if wait_until 60 sh -c "! kill -0 $1 2>/dev/null"; then
    wait "$1"
    local status=$?
    [ $status -eq 0 ] && pass "ended after $2, status 0" || fail "ended after $2, status $status"
  else
    fail "the program did not end after $2"
    kill "$1" 2>/dev/null
    return 1
  fi
}
