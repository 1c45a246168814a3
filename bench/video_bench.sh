#!/usr/bin/env bash
# video_bench.sh BUILD_DIR [COUNT]: COUNT (600) photograph-like 1920x1080 captures made into a
# video by trelvin-video and, on the same pictures in the same run, by ffmpeg with libvpx-vp9 at
# its real-time settings. Prints wall time, peak memory and file size of each, and the load
# average (measure on a quiet machine). See docs/performance.md.
set -euo pipefail
build=$(cd "$1" && pwd)
count=${2:-600}
for tool in ffmpeg convert /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "missing: $tool"; exit 1; }
done
dir=$(mktemp -d /tmp/trelvin-video-bench.XXXXXX)
trap 'rm -rf "$dir"' EXIT
mkdir "$dir/captures" "$dir/out"

# A large photograph-like picture (plasma noise with soft detail), panned across so each capture
# differs from the one before as a game's screen does.
convert -size 2600x1500 -seed 7 plasma:fractal -blur 0x1 "$dir/scene.png"
ffmpeg -v error -loop 1 -i "$dir/scene.png" -vf "crop=1920:1080:x='mod(n*3,680)':y='mod(n*2,420)'" \
  -frames:v "$count" -q:v 3 "$dir/frame%04d.jpg"
i=0
for f in "$dir"/frame*.jpg; do
  # One capture every 2 seconds from 2026-12-08 12:00:00.
  s=$((i * 2))
  mv "$f" "$dir/captures/$(printf '2026120812%02d%02d' $((s / 60 % 60)) $((s % 60)))$([ $s -ge 3600 ] && echo "-$i").jpg"
  i=$((i + 1))
done

measure() {  # name, command...: wall seconds and peak kilobytes
  local name=$1
  shift
  /usr/bin/time -f "%e %M" -o "$dir/$name.time" "$@" >/dev/null 2>"$dir/$name.err" ||
    { cat "$dir/$name.err"; exit 1; }
}
measure trelvin "$build/trelvin-video" "$dir/captures" -o "$dir/out/trelvin.webm"
measure ffmpeg ffmpeg -v error -framerate 10 -pattern_type glob -i "$dir/captures/*.jpg" \
  -c:v libvpx-vp9 -deadline realtime -cpu-used 8 -row-mt 1 -y "$dir/out/ffmpeg.webm"

echo "pictures: $count 1920x1080 JPEG ($(du -sh "$dir/captures" | cut -f1))"
for name in trelvin ffmpeg; do
  read -r seconds kilobytes <"$dir/$name.time"
  size=$(stat -c %s "$dir/out/$name.webm")
  printf '%-8s %7.2f s  %6d MB peak  %8d KB file\n' "$name" "$seconds" $((kilobytes / 1024)) \
    $((size / 1024))
done
read -r t _ <"$dir/trelvin.time"
read -r f _ <"$dir/ffmpeg.time"
echo "time ratio trelvin/ffmpeg: $(echo "scale=2; $t / $f" | bc)"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
