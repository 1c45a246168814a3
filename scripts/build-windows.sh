#!/usr/bin/env bash
# Installs what the Windows build needs (scripts/setup-windows.sh), builds the libraries made from
# Debian's source packages (scripts/windows-deps.sh, when present), then cross-builds with
# mingw-w64 into build-windows/. The program ends up in build-windows/dist/TrelvinShow/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-windows.sh
if [ -f scripts/windows-deps.sh ]; then
  bash scripts/windows-deps.sh
fi

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build-windows -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" \
  -DTRELVIN_WERROR="${TRELVIN_WERROR:-OFF}" "${launcher[@]}" >/dev/null
cmake --build build-windows
