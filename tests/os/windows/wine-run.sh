#!/bin/bash
# Runs a Windows program under Wine in the build's own prefix: wine-run.sh PREFIX PROGRAM [ARGS...]
# The Wine server is kept running, started with no descriptor of ours but /dev/null and then warmed
# up by one program run, so that neither it nor Wine's system processes (which it starts then and
# which live on) hold CTest's output pipe or our lock: otherwise each test waits for the server to
# exit, or CTest never ends.
set -eu
prefix=$1
shift
export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
mkdir -p "$prefix"

# Runs "$@" detached from every inherited descriptor.
detached() {
  (
    for fd in /proc/$BASHPID/fd/*; do
      fd=${fd##*/}
      if [ "$fd" -gt 2 ]; then eval "exec $fd>&-" 2>/dev/null || true; fi
    done
    exec "$@"
  ) </dev/null >/dev/null 2>&1
}

exec 9>"$prefix.lock"
flock 9
# 0: this call started the server; otherwise one runs already.
if detached wineserver -p; then
  detached wine cmd /c exit || true
fi
exec 9>&-
exec wine "$@"
