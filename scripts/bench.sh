#!/usr/bin/env bash
# Builds in Release and runs every benchmark; each prints its figures and its ratio against a
# floor measured in the same run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build build-release -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
build-release/bench/startup/bench_start
for skrypt in bench/*/run.sh; do
  [ -x "$skrypt" ] && "$skrypt" build-release
done
