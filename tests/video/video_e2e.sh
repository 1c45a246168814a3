#!/usr/bin/env bash
# video_e2e.sh OUTDIR COMMAND...: 30 generated captures (one of them damaged) made into a video by
# the trelvin-video COMMAND (the Linux executable, or wine-run.sh with the .exe), the file then
# checked on the Linux side with gst-discoverer-1.0: VP9 in WebM, 29 pictures at the rate asked
# (shown by the duration), the size asked. The same checks for both systems.
set -euo pipefail
out=$1
shift
for tool in convert gst-discoverer-1.0; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit 77; }
done
dir="$out/video-e2e"
rm -rf "$dir"
mkdir -p "$dir/captures"
cd "$dir/captures"
# Pictures that change from one to the next.
for i in $(seq 0 28); do
  convert -size 320x200 "gradient:#204080-#e0c060" -fill "#c02020" \
    -draw "circle $((i * 10 + 20)),100 $((i * 10 + 40)),100" "2026120812$(printf %04d "$i").jpg"
done
# The damaged one, sharing its second with another ("-1"): a capture cut short.
head -c 700 20261208120003.jpg >20261208120003-1.jpg
# Neither a capture's name nor between the stamps: left out.
cp 20261208120005.jpg holiday.jpg
cp 20261208120005.jpg 20261208115959.jpg
before=$(md5sum ./*.jpg)

"$@" . --from 20261208120000 --fps 12 --width 160 >"$dir/stdout" 2>"$dir/stderr"
cat "$dir/stdout" "$dir/stderr"
video=20261208120000-20261208120028.webm
[ -f "$video" ] || { echo "FAIL: no $video"; ls -la; exit 1; }
grep -q "29 pictures, 160x100 at 12 a second (1 damaged passed over)" "$dir/stdout" ||
  { echo "FAIL: unexpected report"; exit 1; }
[ "$before" = "$(md5sum ./*.jpg)" ] || { echo "FAIL: a capture changed"; exit 1; }
leftovers=$(ls -A | grep -v -e '\.jpg$' -e "^$video\$" || true)
[ -z "$leftovers" ] || { echo "FAIL: files left beside the video: $leftovers"; exit 1; }

info=$(gst-discoverer-1.0 -v "$video")
echo "$info" | grep -q "container format: Matroska" || { echo "FAIL: not Matroska"; exit 1; }
echo "$info" | grep -q "video/webm" || { echo "FAIL: not WebM"; exit 1; }
caps=$(echo "$info" | grep -m1 "video/x-vp9") || { echo "FAIL: not VP9"; exit 1; }
echo "$caps" | grep -q "width=(int)160, height=(int)100, framerate=(fraction)12/1" ||
  { echo "FAIL: $caps"; exit 1; }
# 29 pictures at 12 a second: 2.416 s.
echo "$info" | grep -q "Duration: 0:00:02.41" || { echo "FAIL: $(echo "$info" | grep Duration)"; exit 1; }

# A second run finds the name taken and never replaces the first video.
"$@" . --from 20261208120000 --fps 12 --width 160 >/dev/null 2>&1
[ -f "${video%.webm}-1.webm" ] || { echo "FAIL: the second video did not get -1"; exit 1; }
# No pictures, no folder: non-zero with one line.
if "$@" "$dir/none" >/dev/null 2>"$dir/stderr"; then echo "FAIL: no folder succeeded"; exit 1; fi
[ "$(wc -l <"$dir/stderr")" = 1 ] || { echo "FAIL: $(cat "$dir/stderr")"; exit 1; }
echo PASS
