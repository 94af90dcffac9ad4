#!/usr/bin/env bash
# Render speed of ty_helper against the encode-only floor.
# A standard project (photo slides of 4000x3000 JPEGs, 30 fps, 3000 ms slides, 1000 ms random
# transitions, random motions, fitted pictures on a blurred background, mp4, no music) is
# rendered at 1920x1080 (20 slides), 3840x2160 (4 slides) and 1280x720 (10 slides). For each:
# frames, wall time, frames per second, CPU time and peak memory of the render; the same for
# the encode-only floor: the same frames, decoded from the render into raw YUV 4:2:0, encoded
# by the ffmpeg program with libx264 and the encoder's H.264 options; and the ratio of the two
# wall times.
#   Usage: bench/render.sh [1080 | 2160 | 720 ...]    (default: all three)
# Prints figures only.
set -euo pipefail
cd "$(dirname "$0")/.."

. bench/common.sh
need_gnu_time
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target ty_helper >/dev/null

work="$PWD/build/bench-render"
photos="$work/photos"
fps=30
photoCount=20

# Photo-like pictures of about 1 MB: colour gradients with a fine grain. The grain goes on
# 8-bit RGB: on the gradients' own float pixels it leaves only green noise.
photoFilter='gradients=size=1000x750:nb_colors=5:seed=%d,format=rgb24,noise=alls=25:allf=u,scale=4000:3000:flags=bicubic'
photoQuality=6

# The project of `count` photo slides after a hidden title slide.
write_project() {
  local size=$1 count=$2 output=$3 file=$4 i slides=""
  for ((i = 1; i <= count; i++)); do
    slides+=",
    { \"type\": \"image\", \"file_name\": \"$photos/photo$(((i - 1) % photoCount + 1)).jpg\",
      \"time_ms\": 3000, \"transition\": 1, \"motion\": 1, \"angle\": 0 }"
  done
  cat >"$file" <<EOF
{
  "name": "Render benchmark", "file_name": "$output", "format": "mp4", "resolution": "$size",
  "fps": $fps, "project_loop": 1, "transition_time_ms": 1000,
  "scale_to_fit": true, "blur_background": true,
  "images": [
    { "type": "starter", "visible": false, "time_ms": 3000 }$slides
  ]
}
EOF
}

# Runs a command under /usr/bin/time -v; sets wall and cpu (seconds) and peak (MiB).
timed() {
  local report="$work/time.txt"
  /usr/bin/time -v -o "$report" "$@"
  wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {
    n = split($2, t, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + t[i]; print s }' "$report")
  cpu=$(awk -F': ' '/(User|System) time \(seconds\)/ { s += $2 } END { print s }' "$report")
  peak=$(awk -F': ' '/Maximum resident set size/ { printf "%.0f", $2 / 1024 }' "$report")
}

# The encoder's H.264 bit rate for a frame height.
bit_rate() {
  local h=$1
  if ((h <= 360)); then echo 1000000
  elif ((h <= 480)); then echo 2500000
  elif ((h <= 720)); then echo 6500000
  elif ((h <= 1080)); then echo 10000000
  elif ((h <= 1440)); then echo 20000000
  elif ((h <= 2160)); then echo 44000000
  else echo 56000000
  fi
}

measure() {
  local width=$1 height=$2 count=$3
  local size="${width}x${height}"
  local dir="$work/$size"
  rm -rf "$dir"
  mkdir -p "$dir"
  write_project "$size" "$count" "$dir/render.mp4" "$dir/project.json"

  timed build/bin/ty_helper --request "$dir/project.json" --cache "$dir/cache" >/dev/null 2>"$dir/ty_helper.log"
  local renderWall=$wall renderCpu=$cpu renderPeak=$peak frames
  frames=$(ffprobe -v error -select_streams v:0 -count_packets -show_entries stream=nb_read_packets \
    -of csv=p=0 "$dir/render.mp4")

  # The render's own frames as the floor's raw source: same count, same content. The
  # encoder's bit rate tolerance of 0 does not reach libx264, so it is not given here.
  local rawSource=(ffmpeg -v error -threads 2 -i "$dir/render.mp4" -f rawvideo -pix_fmt yuv420p -)
  local floor=(ffmpeg -v error -y -f rawvideo -pix_fmt yuv420p -s "$size" -r "$fps" -i -
    -c:v libx264 -threads 3 -b:v "$(bit_rate "$height")" -qmin 30 -qmax 40 -me_range 16 -qcomp 0.6
    "$dir/floor.mp4")
  timed "${floor[@]}" < <("${rawSource[@]}")
  local floorWall=$wall floorCpu=$cpu floorPeak=$peak

  awk -v size="$size" -v count="$count" -v frames="$frames" \
    -v render="$renderWall" -v renderCpu="$renderCpu" -v renderPeak="$renderPeak" \
    -v floor="$floorWall" -v floorCpu="$floorCpu" -v floorPeak="$floorPeak" 'BEGIN {
      printf "%s, %d slides, %d frames\n", size, count, frames
      printf "  render:            %7.2f s  %6.1f fps  CPU %7.1f s  peak memory %5d MiB\n",
        render, frames / render, renderCpu, renderPeak
      printf "  encode-only floor: %7.2f s  %6.1f fps  CPU %7.1f s  peak memory %5d MiB\n",
        floor, frames / floor, floorCpu, floorPeak
      printf "  ratio render / floor: %.2f\n", render / floor }'
  rm -rf "$dir/cache" "$dir/floor.mp4"
}

make_photos
export QT_QPA_PLATFORM=offscreen
sizes=("$@")
((${#sizes[@]})) || sizes=(1080 2160 720)
for s in "${sizes[@]}"; do
  case $s in
    1080) measure 1920 1080 20 ;;
    2160) measure 3840 2160 4 ;;
    720) measure 1280 720 10 ;;
    *) echo "unknown size: $s (1080, 2160 or 720)" >&2; exit 2 ;;
  esac
done
