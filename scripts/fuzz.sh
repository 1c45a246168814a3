#!/usr/bin/env bash
# Builds the fuzz targets with clang 16 (libFuzzer + AddressSanitizer + UBSan) into build-fuzz/ and
# runs each for a bounded time (FUZZ_SECONDS, default 60) on its corpus in tests/fuzz/corpus/.
# A crash makes the script fail; add the crashing input to the corpus once it is fixed.
set -euo pipefail
cd "$(dirname "$0")/.."
# Clang 16 with libFuzzer: the first Debian 12 clang whose front end gives libstdc++ 12 the
# std::source_location the core's guarded steps use. Only fuzzing needs it.
fuzz_packages=(clang-16 libclang-rt-16-dev)
missing=()
for p in "${fuzz_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
SECONDS_EACH=${FUZZ_SECONDS:-60}
# The "fuzzing" preset of CMakePresets.json.
cmake --preset fuzzing >/dev/null
targets=$(cd tests/fuzz && ls *_fuzz.cpp | sed 's/\.cpp$//')
ninja -C build-fuzz $targets
status=0
for t in $targets; do
  corpus=tests/fuzz/corpus/${t%_fuzz}
  work=$(mktemp -d)
  echo "== $t ($SECONDS_EACH s)"
  if ! build-fuzz/$t -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix=build-fuzz/$t- "$work" "$corpus" 2>build-fuzz/$t.log; then
    echo "$t found a crash: see build-fuzz/$t.log"; tail -30 build-fuzz/$t.log; status=1
  fi
  rm -rf "$work"
done
exit $status
