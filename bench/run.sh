#!/usr/bin/env bash
# Builds and runs the benchmarks (all, or those named: ./bench/run.sh bench_videoencoder).
# They print figures only.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" >/dev/null
export QT_QPA_PLATFORM=offscreen
names=("$@")
if ((!$#)); then
  for b in build/bench/bench_*; do
    [ -f "$b" ] && [ -x "$b" ] && names+=("$(basename "$b")")
  done
fi
for name in "${names[@]}"; do
  echo "== $name"
  "build/bench/$name"
done
