#!/usr/bin/env bash
# Time to the first frame of a show of large photos, and the whole render.
# Six photo slides of 6000x4000 JPEGs (24 megapixels), 1920x1080, 30 fps, 500 ms slides with
# zoom motions and no transitions, so each slide's first frame, which decodes its photo, is
# most of the work. Five runs after one warm-up; medians of the time until ty_helper printed
# its first progress line, of the whole run and of its peak memory.
#   Usage: bench/firstframe.sh            (TY_HELPER=<program> times another ty_helper)
# Prints figures only.
set -euo pipefail
cd "$(dirname "$0")/.."

. bench/common.sh
need_gnu_time
helper=${TY_HELPER:-}
if [ -z "$helper" ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build -j"$(nproc)" --target ty_helper >/dev/null
  helper=build/bin/ty_helper
fi

work="$PWD/build/bench-firstframe"
photos="$work/photos"
photoCount=6
runs=5
photoFilter='gradients=size=1500x1000:nb_colors=5:seed=%d,format=rgb24,noise=alls=25:allf=u,scale=6000:4000:flags=bicubic'
photoQuality=6

write_project() {
  local file=$1 i slides=""
  for ((i = 1; i <= photoCount; i++)); do
    slides+=",
    { \"type\": \"image\", \"file_name\": \"$photos/photo$i.jpg\", \"time_ms\": 500,
      \"transition\": 0, \"motion\": $((5 + i)) }"
  done
  cat >"$file" <<EOF
{
  "name": "First frame benchmark", "file_name": "$work/show.mp4", "format": "mp4",
  "resolution": "1920x1080", "fps": 30, "project_loop": 1, "transition_time_ms": 1000,
  "scale_to_fit": false, "blur_background": false,
  "images": [
    { "type": "starter", "visible": false, "time_ms": 3000 }$slides
  ]
}
EOF
}

# One run: sets first and whole (seconds) and peak (MiB).
run_once() {
  local start line report="$work/time.txt"
  rm -rf "$work/cache"
  start=$(date +%s%N)
  first=""
  while IFS= read -r line; do
    [ -n "$first" ] || first=$(($(date +%s%N) - start))
  done < <(/usr/bin/time -v -o "$report" "$helper" --request "$work/project.json" --cache "$work/cache" 2>/dev/null)
  whole=$(($(date +%s%N) - start))
  first=$(awk -v ns="$first" 'BEGIN { printf "%.3f", ns / 1e9 }')
  whole=$(awk -v ns="$whole" 'BEGIN { printf "%.3f", ns / 1e9 }')
  peak=$(awk -F': ' '/Maximum resident set size/ { printf "%.0f", $2 / 1024 }' "$report")
}

median() {
  sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

make_photos
write_project "$work/project.json"
export QT_QPA_PLATFORM=offscreen
run_once
firsts="" wholes="" peaks=""
for ((r = 0; r < runs; r++)); do
  run_once
  firsts+="$first"$'\n' wholes+="$whole"$'\n' peaks+="$peak"$'\n'
done
echo "6 slides of 6000x4000 photos at 1920x1080, 30 fps, $runs runs (medians)"
echo "  first frame:  $(printf '%s' "$firsts" | median) s"
echo "  whole render: $(printf '%s' "$wholes" | median) s"
echo "  peak memory:  $(printf '%s' "$peaks" | median) MiB"
