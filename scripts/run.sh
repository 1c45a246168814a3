#!/usr/bin/env bash
# Installs only what building and running the program needs (scripts/setup.sh with SETUP_FOR=run),
# builds the program and its converter library alone into build-run/ (no tests, no benchmarks),
# then starts it with the arguments given. Without a display the program says so and ends with 1.
set -euo pipefail
cd "$(dirname "$0")/.."
SETUP_FOR=run bash scripts/setup.sh
cmake -S . -B build-run -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" \
  -DTRELVIN_BUILD_TESTS=OFF -DTRELVIN_BUILD_BENCH=OFF >/dev/null
cmake --build build-run --target trelvinshow
exec build-run/trelvinshow "$@"
