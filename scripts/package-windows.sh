#!/usr/bin/env bash
# Builds the Windows program (scripts/build-windows.sh), then packages its dist folder
# (build-windows/dist/TrelvinShow/) twice: an installer made with NSIS,
# build-windows/TrelvinShow-<version>-setup.exe, and a zip of the folder for those who do not
# install, build-windows/TrelvinShow-<version>.zip. Prints both paths with their sizes.
# --no-build [BUILD_DIR] packages the dist folder of BUILD_DIR (by default build-windows) as it is;
# the Windows tests do, after their build.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$PWD/build-windows
if [ "${1:-}" = --no-build ]; then
  build=$(cd "${2:-$build}" && pwd)
else
  # Warnings are errors, as in scripts/test-windows.sh, so both share one build.
  TRELVIN_WERROR=${TRELVIN_WERROR:-ON} bash scripts/build-windows.sh
fi
command -v makensis >/dev/null || { echo "makensis is missing: run scripts/setup-windows.sh" >&2; exit 1; }

dist=$build/dist/TrelvinShow
for f in TrelvinShow.exe TrelvinShow.scr; do
  if [ ! -f "$dist/$f" ]; then
    echo "error: $dist/$f is missing: build it with scripts/build-windows.sh" >&2
    exit 1
  fi
done
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "error: no project version in $build/CMakeCache.txt" >&2; exit 1; }
# The four numbers of a Windows file version.
file_version=$version
while [ "$(tr -cd . <<<"$file_version" | wc -c)" -lt 3 ]; do file_version+=.0; done

# The installer's file lists, made from what the dist folder holds: the uninstaller deletes these
# files and folders and nothing else.
work=$build/installer
rm -rf "$work"
mkdir -p "$work"
nsis_quote() { # a relative path as an NSIS string below $INSTDIR
  local p=${1//\$/\$\$}
  p=${p//\//\\}
  printf '"$INSTDIR%s"' "${p:+\\$p}"
}
(
  cd "$dist"
  find . -mindepth 1 -type d -printf '%P\n' | LC_ALL=C sort >"$work/dirs"
  find . -type f -printf '%P\n' | LC_ALL=C sort >"$work/files"
)
mapfile -t dirs <"$work/dirs"
{
  for dir in "" "${dirs[@]}"; do
    echo "SetOutPath $(nsis_quote "$dir")"
    while IFS= read -r f; do
      [ "$(dirname "$f" | sed 's/^\.$//')" = "$dir" ] || continue
      echo "File \"/oname=$(basename "$f" | sed 's/\$/$$/g')\" \"$dist/$f\""
    done <"$work/files"
  done
} >"$work/files.nsh"
{
  while IFS= read -r f; do echo "Delete $(nsis_quote "$f")"; done <"$work/files"
  # Deepest folders first; each goes only if nothing but our files was in it.
  LC_ALL=C sort -r "$work/dirs" | while IFS= read -r d; do echo "RMDir $(nsis_quote "$d")"; done
} >"$work/unfiles.nsh"

setup=$build/TrelvinShow-$version-setup.exe
zip=$build/TrelvinShow-$version.zip
rm -f "$setup" "$zip"
makensis -V2 -NOCD -DVERSION="$version" -DFILE_VERSION="$file_version" -DDIST="$dist" -DFILES="$work/files.nsh" \
  -DUNFILES="$work/unfiles.nsh" -DOUTFILE="$setup" packaging/windows/TrelvinShow.nsi \
  >"$work/makensis.log" 2>&1 || { cat "$work/makensis.log" >&2; exit 1; }
(cd "$dist/.." && cmake -E tar cf "$zip" --format=zip TrelvinShow)

for f in "$setup" "$zip"; do
  echo "$f $(stat -c %s "$f") bytes"
done
