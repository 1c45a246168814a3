#!/usr/bin/env bash
# Style and layering checks, run by .ci/run before the tests:
# - every tracked C++ file is formatted as .clang-format says;
# - the toolkit-free code (the forms, the control models, the service interfaces) includes no Qt,
#   X11, GStreamer, GLib or Windows header.
set -euo pipefail
cd "$(dirname "$0")/.."
status=0

mapfile -t sources < <(git ls-files -- '*.cpp' '*.h' '*.hpp' '*.cc')
if ! clang-format --dry-run -Werror "${sources[@]}"; then
  echo "lint: run clang-format -i on the files above"
  status=1
fi

toolkit_free=(src/shell src/capture src/slideshow src/platform/controls src/platform/services)
# <QWidget>, <QtCore/...>, <qglobal.h>, <X11/...>, <gst/...>, <glib...>, <gio/...>, <windows.h>,
# <winuser.h>, <shlobj.h> and friends.
forbidden='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]((Q[A-Za-z]*|Qt[A-Za-z]*/[^>"]*|q[a-z]*\.h)|X11/|gst/|glib|gio/|gobject/|(windows|Windows|winuser|winbase|windef|shlobj|shellapi|mmsystem|objbase|wingdi|commctrl)\.h)'
if git grep -n -I -E "$forbidden" -- "${toolkit_free[@]}"; then
  echo "lint: the lines above include a toolkit or system header in toolkit-free code"
  status=1
fi

exit $status
