# Shared by the benchmark scripts; sourced from the repository root.

# Installs GNU time when /usr/bin/time is missing.
need_gnu_time() {
  [ -x /usr/bin/time ] && return
  local sudo=""
  [ "$(id -u)" = 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends time >/dev/null
}

# Photo-like JPEG files photo1..photo<photoCount> in $photos from the lavfi recipe $photoFilter
# (one %d for the seed) at quality $photoQuality.
# Made once; made again when the recipe in the stamp beside them differs or a run was cut short.
make_photos() {
  local stamp="$photos/recipe" recipe="$photoFilter -q:v $photoQuality" i filter
  [ "$(cat "$stamp" 2>/dev/null)" = "$recipe" ] || rm -rf "$photos"
  mkdir -p "$photos"
  for ((i = 1; i <= photoCount; i++)); do
    [ -s "$photos/photo$i.jpg" ] && continue
    rm -f "$stamp"
    printf -v filter "$photoFilter" "$i"
    ffmpeg -v error -y -f lavfi -i "$filter" -frames:v 1 -q:v "$photoQuality" "$photos/photo$i.jpg"
  done
  printf '%s\n' "$recipe" >"$stamp"
}
