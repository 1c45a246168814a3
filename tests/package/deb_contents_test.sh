#!/usr/bin/env bash
# Makes the Debian package with CPack in the build directory and checks what it holds: the
# program directory, the links in /usr/bin and the screen-saver directory, the desktop and screen-saver files, the icons, the
# executable's $ORIGIN run path and the declared dependencies.
#   tests/package/deb_contents_test.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
cd "$build"
cpack -G DEB >cpack.log 2>&1 || { cat cpack.log; echo "FAIL: cpack"; exit 1; }
deb=$(ls -t "$build"/trelvinshow_*_amd64.deb | head -1)
echo "package: $deb ($(stat -c %s "$deb") bytes)"

fail=0
listing=$(dpkg-deb -c "$deb" | awk '{ $1=$2=$3=$4=$5=""; sub(/^ +/, ""); print }')
expect_path() {
  if grep -qxF -- "$1" <<<"$listing"; then echo "ok: $1"; else echo "FAIL: no $1"; fail=1; fi
}
for path in ./opt/trelvinshow/trelvinshow ./opt/trelvinshow/libtrelvinjpeg.so.1.0 \
  "./opt/trelvinshow/libtrelvinjpeg.so.1 -> libtrelvinjpeg.so.1.0" ./opt/trelvinshow/about/index.html \
  ./opt/trelvinshow/about/author.html "./usr/bin/trelvinshow -> ../../opt/trelvinshow/trelvinshow" \
  ./opt/trelvinshow/trelvin-video "./usr/bin/trelvin-video -> ../../opt/trelvinshow/trelvin-video" \
  "./usr/libexec/xscreensaver/trelvinshow -> ../../../opt/trelvinshow/trelvinshow" \
  ./usr/share/applications/trelvinshow.desktop ./usr/share/applications/screensavers/trelvinshow.desktop \
  ./usr/share/xscreensaver/config/trelvinshow.xml ./usr/share/icons/hicolor/16x16/apps/trelvinshow.png \
  ./usr/share/icons/hicolor/32x32/apps/trelvinshow.png; do
  expect_path "$path"
done
# Nothing of the build or the tests slips in.
if grep -E 'test|gtest|\.a$|/include/' <<<"$listing"; then echo "FAIL: stray files"; fail=1; fi

extracted=$(mktemp -d)
trap 'rm -rf "$extracted"' EXIT
dpkg-deb -x "$deb" "$extracted"
runpath=$(readelf -d "$extracted/opt/trelvinshow/trelvinshow" | sed -n 's/.*R\(UN\)\?PATH.*\[\(.*\)\]/\2/p')
if [ "$runpath" = '$ORIGIN' ]; then echo 'ok: run path $ORIGIN'; else
  echo "FAIL: run path '$runpath'"; fail=1; fi
file "$extracted/opt/trelvinshow/trelvinshow" | grep -q 'stripped' || true
for desktop in "$extracted"/usr/share/applications/trelvinshow.desktop \
  "$extracted"/usr/share/applications/screensavers/trelvinshow.desktop; do
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" && echo "ok: valid $desktop" || { echo "FAIL: $desktop"; fail=1; }
  fi
done
# The daemons of MATE and Xfce run only a module from their screen-saver directories.
grep -qx 'Exec=/usr/libexec/xscreensaver/trelvinshow --root' \
  "$extracted/usr/share/applications/screensavers/trelvinshow.desktop" &&
  echo "ok: the screen-saver entry runs the module from /usr/libexec/xscreensaver" ||
  { echo "FAIL: the screen-saver entry's Exec"; fail=1; }
if command -v xmllint >/dev/null; then
  xmllint --noout "$extracted/usr/share/xscreensaver/config/trelvinshow.xml" || fail=1
fi

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for needed in libqt6widgets6 libqt6printsupport6 libgstreamer1.0-0 libjpeg62-turbo libx11-6 \
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad \
  fluid-soundfont-gm xdg-utils qt6-image-formats-plugins; do
  if grep -qE "(^|, )$needed( |,|$)" <<<"$depends"; then echo "ok: depends on $needed"; else
    echo "FAIL: no dependency on $needed"; fail=1; fi
done
exit $fail
