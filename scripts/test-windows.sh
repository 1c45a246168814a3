#!/usr/bin/env bash
# Builds the Windows program (scripts/build-windows.sh) and runs its tests under Wine through
# CTest: the core tests, the Windows services, the end-to-end tests on a virtual display, and the
# installer and the zip (made by scripts/package-windows.sh, then installed and removed under Wine).
set -euo pipefail
cd "$(dirname "$0")/.."
TRELVIN_WERROR=${TRELVIN_WERROR:-ON} bash scripts/build-windows.sh
# The tests keep one Wine server running in the build's prefix; it goes with the tests.
trap 'WINEPREFIX="$PWD/build-windows/wineprefix" wineserver -k 2>/dev/null || true; WINEPREFIX="$PWD/build-windows/wineprefix" wineserver -w 2>/dev/null || true' EXIT
ctest --test-dir build-windows --output-on-failure -j"$(nproc)" "$@"
