#!/usr/bin/env bash
# Sets up and builds (scripts/setup.sh), then makes the Debian package with CPack:
# build/trelvinshow_<version>_amd64.deb. Prints the package's path. Warnings are errors, as in
# scripts/test.sh, so both share one build.
set -euo pipefail
cd "$(dirname "$0")/.."
TRELVIN_WERROR=${TRELVIN_WERROR:-ON} bash scripts/setup.sh
cd build
cpack -G DEB >cpack.log 2>&1 || { cat cpack.log; exit 1; }
deb=$(ls -t trelvinshow_*_amd64.deb | head -1)
echo "$PWD/$deb"
