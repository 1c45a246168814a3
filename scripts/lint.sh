#!/usr/bin/env bash
# Style and layering checks, run by .ci/run before the tests:
# - every tracked C++ file is formatted as .clang-format says;
# - no C++ source file passes 400 lines;
# - the toolkit-free core (src/core: the forms, the control models, the service interfaces, the
#   shared vocabularies) includes no toolkit or system header: only the standard library's and
#   the project's own; nor does the code the system backends share (src/os/common), which is built
#   for every system.
set -euo pipefail
cd "$(dirname "$0")/.."
status=0

mapfile -t sources < <(git ls-files -- '*.cpp' '*.h' '*.hpp' '*.cc')
if ! clang-format --dry-run -Werror "${sources[@]}"; then
  echo "lint: run clang-format -i on the files above"
  status=1
fi

too_long=0
for f in "${sources[@]}"; do
  lines=$(wc -l <"$f")
  if [ "$lines" -gt 400 ]; then
    echo "$f: $lines lines"
    too_long=1
  fi
done
if [ $too_long = 1 ]; then
  echo "lint: the files above pass 400 lines; split them by topic"
  status=1
fi

# In the core: <QWidget> and friends, and any header with a suffix or a directory (<windows.h>,
# <unistd.h>, <X11/Xlib.h>, <gst/gst.h>); the standard library's headers have neither.
forbidden='^[[:space:]]*#[[:space:]]*include[[:space:]]*(<Q[A-Za-z]*>|<[^>]*[./][^>]*>)'
if git grep -n -I -E "$forbidden" -- src/core src/os/common; then
  echo "lint: the lines above include a toolkit or system header in the toolkit-free code"
  status=1
fi

# Platform choices in the core are made by the build (TRELVIN_PATH_SEPARATOR), never by #if.
if git grep -n -I -E '^[[:space:]]*#[[:space:]]*(if|ifdef|ifndef|elif).*(_WIN32|__linux__|__unix__|__APPLE__|WIN32)' -- src/core src/os/common; then
  echo "lint: the lines above branch on the system in the toolkit-free code"
  status=1
fi

exit $status
