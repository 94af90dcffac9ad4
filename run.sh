#!/usr/bin/env bash
# Sets up and builds like ./test.sh first (installing what is missing), then:
#   ./run.sh                  with a display (DISPLAY or WAYLAND_DISPLAY): starts ty_slideshow;
#                             without one: renders the bundled example, made in build/demo/, into
#                             a video with ty_helper, and writes build/demo/main-window.png, the
#                             main window of a real start-up over the example
#   ./run.sh <project.json>   renders that project into a video
set -euo pipefail
cd "$(dirname "$0")"

TY_BUILD_ONLY=1 ./test.sh

if ((!$#)) && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/bin/ty_slideshow
fi

work="$PWD/build/demo"

# A picture or sound made by an ffmpeg source filter.
generate() {
  ffmpeg -v error -y -f lavfi -i "$1" "${@:3}" "$work/$2"
}

make_demo() {
  mkdir -p "$work"
  echo "Making the example in $work"
  generate "mandelbrot=size=1600x1200:start_scale=0.3:end_scale=0.3:maxiter=300" photo1.jpg -frames:v 1
  generate "gradients=size=1920x1080:c0=0x1d3557:c1=0xe63946:c2=0xf1faee:c3=0x457b9d:nb_colors=4:seed=7" \
    photo2.jpg -frames:v 1
  generate "testsrc2=size=1600x1200" photo3.jpg -frames:v 1
  generate "mandelbrot=size=1200x1600:start_x=-0.743643887037151:start_y=0.13182590420533:start_scale=0.004:end_scale=0.004:maxiter=500:outer=normalized_iteration_count" \
    photo4.jpg -frames:v 1
  # A chord with a slow tremolo, and a plucked arpeggio.
  generate "aevalsrc=exprs='0.2*(sin(2*PI*220*t)+0.6*sin(2*PI*277.18*t)+0.5*sin(2*PI*329.63*t))*(0.75+0.25*sin(2*PI*2*t))':s=44100:d=10" \
    track1.mp3 -ac 2 -c:a libmp3lame -b:a 128k
  generate "aevalsrc=exprs='0.5*exp(-5*mod(t\,0.25))*sin(2*PI*t*261.63*pow(2\,(4*eq(mod(floor(t*4)\,4)\,1)+7*eq(mod(floor(t*4)\,4)\,2)+12*eq(mod(floor(t*4)\,4)\,3))/12))':s=44100:d=12" \
    track2.m4a -ac 2 -c:a aac -b:a 128k
  local template
  template=$(<examples/demo/project.json)
  printf '%s\n' "${template//@DEMO@/$work}" >"$work/project.json"
}

# One line that keeps changing: percentage, frames and the time still needed.
show_progress() {
  local line done total left percent
  while IFS= read -r line; do
    [[ $line =~ ^value:\ ([0-9]+),\ total:\ (-?[0-9]+),\ remtime:(-?[0-9]+)$ ]] || continue
    done=${BASH_REMATCH[1]} total=${BASH_REMATCH[2]} left=${BASH_REMATCH[3]}
    ((total > 0)) && percent=$((done * 100 / total)) || percent=100
    ((percent <= 100)) || percent=100
    ((left >= 0)) || left=0
    if ((done < total)); then
      printf '\rRendering %3d%%  frame %d of %d  about %d s left ' \
        "$percent" "$done" "$total" $(((left + 999) / 1000))
    else
      printf '\rRendering %3d%%  frame %d of %d  joining video and sound ' "$percent" "$done" "$total"
    fi
  done
  printf '\n'
}

describe() {
  local file=$1 duration size
  IFS=, read -r duration size < <(ffprobe -v error -show_entries format=duration,size -of csv=p=0 "$file")
  printf 'Video: %s\n  duration %.1f s, size %s\n' "$file" "$duration" "$(numfmt --to=iec --suffix=B "$size")"
  ffprobe -v error -show_entries stream=index,codec_type,codec_name,width,height,avg_frame_rate,sample_rate,channels \
    -of compact=p=0 "$file" | while IFS='|' read -r -a fields; do
    declare -A s=()
    for field in "${fields[@]}"; do s[${field%%=*}]=${field#*=}; done
    case ${s[codec_type]} in
      video) echo "  stream ${s[index]}: video ${s[codec_name]} ${s[width]}x${s[height]} ${s[avg_frame_rate]%/1} fps" ;;
      audio) echo "  stream ${s[index]}: audio ${s[codec_name]} ${s[sample_rate]} Hz ${s[channels]} channels" ;;
      *) echo "  stream ${s[index]}: ${s[codec_type]} ${s[codec_name]}" ;;
    esac
  done
}

if (($#)); then
  request=$(realpath "$1")
  mkdir -p "$work"
else
  make_demo
  request="$work/project.json"
fi
output=$(perl -MJSON::PP -0777 -ne 'print decode_json($_)->{file_name} // ""' "$request" 2>/dev/null || true)
log="$work/ty_helper.log"
started="$work/.started"
touch "$started"

set +e
build/bin/ty_helper --request "$request" --cache "$work/cache" 2>"$log" | show_progress
status=${PIPESTATUS[0]}
set -e
rm -rf "$work/cache"

if ((status != 0)) || [ -z "$output" ] || [ ! "$output" -nt "$started" ]; then
  echo "No video was written (ty_helper ended with status $status); its messages are in $log" >&2
  exit 1
fi
describe "$output"
((!$#)) || exit 0

# The main window as the program shows the example, offscreen, in a profile of its own under
# build/demo/ (the example in its autosave folder, no update check).
rm -rf "$work/profile"
shot_log="$work/ty_screenshot.log"
if ! shot=$(build/bin/ty_screenshot --project "$request" --profile "$work/profile" \
  --out "$work/main-window.png" 2>"$shot_log"); then
  echo "No picture of the main window was written; the messages are in $shot_log" >&2
  exit 1
fi
echo "Main window: $shot"
