#!/usr/bin/env bash
# Installs the packages, checks the sources (scripts/lint.sh), builds (scripts/setup.sh) and runs
# the whole test suite through CTest; then builds the suite again with AddressSanitizer and
# UndefinedBehaviorSanitizer (build-asan/) and runs it there (TRELVIN_SKIP_SANITIZERS=1 skips
# that); then the Windows build and its tests under Wine (scripts/test-windows.sh;
# TRELVIN_SKIP_WINDOWS=1 skips them).
set -euo pipefail
cd "$(dirname "$0")/.."
# Formatting and the toolkit-free layers are checked first, before anything is built.
SETUP_PACKAGES_ONLY=1 bash scripts/setup.sh
bash scripts/lint.sh
TRELVIN_WERROR=${TRELVIN_WERROR:-ON} bash scripts/setup.sh
ctest --test-dir build --output-on-failure -j"$(nproc)" "$@"

if [ "${TRELVIN_SKIP_SANITIZERS:-0}" != 1 ]; then
  # The "sanitizers" preset of CMakePresets.json.
  cmake --preset sanitizers >/dev/null
  cmake --build --preset sanitizers
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=1"
  # Every sanitized process reads the suppressions, those the end-to-end tests start as another
  # user too, who may not reach the checkout (under /root, say): a copy anyone can read.
  lsan_supp=$(mktemp /tmp/trelvin-lsan.XXXXXX)
  trap 'rm -f "$lsan_supp"' EXIT
  cp tests/sanitizers/lsan.supp "$lsan_supp"
  chmod 644 "$lsan_supp"
  export LSAN_OPTIONS="suppressions=$lsan_supp:print_suppressions=0"
  export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
  # The package is made and installed from the normal build only.
  ctest --test-dir build-asan --output-on-failure -j"$(nproc)" -LE package "$@"
fi

if [ "${TRELVIN_SKIP_WINDOWS:-0}" != 1 ]; then
  bash scripts/test-windows.sh
fi
