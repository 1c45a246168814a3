#!/bin/bash
# The Windows packages under Wine, in a prefix of their own (the test changes the user's screen
# saver and "Apps" list): installer_test.sh PREFIX SETUP_EXE ZIP DIST_DIR
# The zip holds the dist folder; the silent installer puts it in the per-user program folder with
# its shortcut, uninstall entry and, when asked, the screen saver; the uninstaller takes back only
# what the installer made and leaves the user's files and settings alone.
set -u
prefix=$1 setup=$2 zip=$3 dist=$4
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
tmp=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$tmp"' EXIT
# A reg.exe in the current folder would stand in for Wine's own.
cd "$tmp" || exit 1

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
w() { "$here/wine-run.sh" "$prefix" "$@"; }
# A Windows environment variable, and a Windows path as a path of this machine.
winvar() { w cmd /c echo "%$1%" | tr -d '\r'; }
unixpath() { w winepath -u "$1" | tr -d '\r'; }
# The data of a registry value; fails when there is no such value.
regval() {
  local out
  out=$(w reg query "$1" /v "$2" 2>/dev/null | tr -d '\r') || return 1
  awk -v name="$2" '
    { line = $0; sub(/^ +/, "", line) }
    index(line, name " ") == 1 && match(line, / +REG_[A-Z_]+ +/) {
      print substr(line, RSTART + RLENGTH); found = 1; exit
    }
    END { exit !found }' <<<"$out"
}
expect_reg() { # KEY NAME DATA
  local got
  got=$(regval "$1" "$2") || { fail "no value $2 under $1"; return; }
  [ "$got" = "$3" ] || fail "$1 $2 is \"$got\", expected \"$3\""
}
# Waits until "$@" succeeds, for at most a minute.
wait_for() {
  local deadline=$((SECONDS + 60))
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.2
  done
}

for f in "$setup" "$zip"; do
  [ -f "$f" ] || { echo "FAIL: $f is missing: run scripts/package-windows.sh" >&2; exit 1; }
done

uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\TrelvinShow'
desktop_key='HKCU\Control Panel\Desktop'
settings_key='HKCU\Software\VB and VBA Program Settings\Trelvin\Settings'
local_app_data=$(winvar LOCALAPPDATA)
win_dir="$local_app_data\\Programs\\TrelvinShow"
dir=$(unixpath "$win_dir")
shortcut=$(unixpath "$(winvar APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs\\Trelvin Show.lnk")
[ -n "$local_app_data" ] && [ -n "$dir" ] || { echo "FAIL: no per-user folder in $prefix" >&2; exit 1; }

# What an earlier run left in the prefix goes first; the user's settings are set as a user would.
rm -rf "$dir" "$shortcut"
w reg delete "$uninstall_key" /f >/dev/null 2>&1
w reg delete "$desktop_key" /v SCRNSAVE.EXE /f >/dev/null 2>&1
w reg add "$settings_key" /v Path /d 'D:\captures\' /f >/dev/null ||
  { echo "FAIL: cannot write the settings" >&2; exit 1; }

echo "== the zip holds the dist folder"
mkdir unzipped
(cd unzipped && cmake -E tar xf "$zip") || fail "cannot unpack $zip"
diff -r "$dist" unzipped/TrelvinShow >&2 || fail "the zip differs from $dist"

echo "== a silent installation"
w "$setup" /S || fail "the installer exited with $?"
diff -r --exclude=uninstall.exe "$dist" "$dir" >&2 || fail "$dir differs from $dist"
[ -f "$dir/uninstall.exe" ] || fail "no uninstaller in $dir"
[ -f "$shortcut" ] || fail "no Start-menu shortcut $shortcut"
expect_reg "$uninstall_key" DisplayName "Trelvin Show"
expect_reg "$uninstall_key" DisplayVersion "$(basename "$zip" .zip | sed 's/^TrelvinShow-//')"
expect_reg "$uninstall_key" InstallLocation "$win_dir"
expect_reg "$uninstall_key" UninstallString "\"$win_dir\\uninstall.exe\""
expect_reg "$uninstall_key" QuietUninstallString "\"$win_dir\\uninstall.exe\" /S"
expect_reg "$uninstall_key" DisplayIcon "$win_dir\\TrelvinShow.exe,0"
expect_reg "$uninstall_key" NoModify 0x1
expect_reg "$uninstall_key" NoRepair 0x1
regval "$uninstall_key" Publisher >/dev/null || fail "no Publisher"
size=$(regval "$uninstall_key" EstimatedSize) || fail "no EstimatedSize"
[ "$((size))" -ge "$(($(du -sk --exclude=uninstall.exe "$dist" | cut -f1) / 2))" ] ||
  fail "EstimatedSize $size KB is less than half of the program"
if regval "$desktop_key" SCRNSAVE.EXE >/dev/null; then
  fail "the screen saver was chosen without being asked for"
fi
# The installed screen saver starts: its preview switch ends at once.
w "$dir/TrelvinShow.scr" /p || fail "the installed TrelvinShow.scr /p exited with $?"

echo "== /SCREENSAVER makes it the user's screen saver"
w "$setup" /S /SCREENSAVER || fail "the installer exited with $?"
expect_reg "$desktop_key" SCRNSAVE.EXE "$win_dir\\TrelvinShow.scr"

echo "== the uninstaller leaves the user's files and settings"
echo "the user's song" >"$dir/song.mid"
mkdir -p "$dir/captures" && echo "a capture" >"$dir/captures/1.bmp"
# Run in place (_?=) so that it is done when it exits; it cannot delete itself then.
w "$dir/uninstall.exe" /S "_?=$win_dir" || fail "the uninstaller exited with $?"
while IFS= read -r f; do
  [ ! -e "$dir/$f" ] || fail "the uninstaller left $f"
done < <(cd "$dist" && find . -type f)
[ ! -e "$dir/about" ] || fail "the uninstaller left the about folder"
[ -f "$dir/song.mid" ] && [ -f "$dir/captures/1.bmp" ] || fail "the uninstaller removed the user's files"
[ ! -e "$shortcut" ] || fail "the uninstaller left the shortcut"
if w reg query "$uninstall_key" >/dev/null 2>&1; then fail "the uninstaller left its key"; fi
if regval "$desktop_key" SCRNSAVE.EXE >/dev/null; then
  fail "the uninstaller left the screen saver pointing at the removed program"
fi
expect_reg "$settings_key" Path 'D:\captures\'

echo "== an uninstaller started as from the Apps list; another screen saver chosen since"
rm -rf "$dir"
w "$setup" /S /SCREENSAVER || fail "the installer exited with $?"
w reg add "$desktop_key" /v SCRNSAVE.EXE /d 'C:\windows\system32\other.scr' /f >/dev/null
# It copies itself to the temporary folder and starts that copy: wait for the copy's work.
w "$dir/uninstall.exe" /S || fail "the uninstaller exited with $?"
gone() { [ ! -e "$dir" ] && ! w reg query "$uninstall_key" >/dev/null 2>&1; }
wait_for gone || fail "after a minute the empty program folder or the uninstall key is still there"
expect_reg "$desktop_key" SCRNSAVE.EXE 'C:\windows\system32\other.scr'
expect_reg "$settings_key" Path 'D:\captures\'

[ $failures -eq 0 ] || { echo "$failures failures" >&2; exit 1; }
echo "all passed"
