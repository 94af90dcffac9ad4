#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
# Extra arguments go to ctest (for example: ./test.sh -L model).
# TY_SANITIZE=1 builds into build-asan with AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")"

packages=(g++ cmake make pkg-config ccache
  qtbase5-dev qtbase5-private-dev libqt5svg5-dev libqt5x11extras5-dev libxcb1-dev libxtst-dev qt5-image-formats-plugins
  qtmultimedia5-dev libqt5multimedia5-plugins gstreamer1.0-plugins-good
  libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev ffmpeg
  fonts-dejavu-core fonts-dejavu-extra xvfb xauth dbus-daemon)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" = 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build=build
cmake_args=()
if [ "${TY_SANITIZE:-0}" = 1 ]; then
  build=build-asan
  cmake_args+=(-DTY_SANITIZE=ON)
fi
export CCACHE_BASEDIR="$PWD"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo ${cmake_args[@]+"${cmake_args[@]}"} >/dev/null
cmake --build "$build" -j"$(nproc)"
# TY_BUILD_ONLY=1: set up and build, run nothing (./run.sh uses it).
[ "${TY_BUILD_ONLY:-0}" = 1 ] && exit 0

# Tests never touch the user's own files.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch"/{home,config,runtime,tmp}
chmod 700 "$scratch/runtime"
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" \
  XDG_RUNTIME_DIR="$scratch/runtime" TMPDIR="$scratch/tmp" QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" "$@"

# The transition sweep and the bad-number documents once more under AddressSanitizer and UBSan.
if [ "$build" = build ]; then
  cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTY_SANITIZE=ON >/dev/null
  cmake --build build-asan -j"$(nproc)" --target transition_tst_transitionsweep >/dev/null
  build-asan/tests/transition_tst_transitionsweep -silent
  # Documents with numbers no user would give, through ty_helper built with the sanitizers.
  cmake --build build-asan -j"$(nproc)" --target ty_helper ty_convert helper_tst_helperprogram >/dev/null
  ASAN_OPTIONS=fast_unwind_on_malloc=0 LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp":print_suppressions=0 \
    build-asan/tests/helper_tst_helperprogram -silent badNumbers emptyShow
fi
