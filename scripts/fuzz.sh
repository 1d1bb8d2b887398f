#!/usr/bin/env bash
# Runs every libFuzzer harness under fuzz/ (or those named after SECONDS, e.g.
# `scripts/fuzz.sh 60 stan_kasy`) for SECONDS seconds (default 60) in a clang build
# (build-fuzz/), each starting from its seed corpus in fuzz/korpus/<name>; the inputs it finds
# go to build-fuzz/korpus/<name>, a crashing one to build-fuzz/awarie/. Prints each harness's
# executions per second. Copy an input worth keeping into fuzz/korpus/<name>: CTest replays it.
# The files the harnesses write go to a temporary folder that is removed at the end, also
# after a crash or Ctrl+C.
set -euo pipefail
cd "$(dirname "$0")/.."
SEKUNDY=${1:-60}
scripts/setup.sh
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPIXO_FUZZ=ON \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang > /dev/null
mapfile -t harnesy < <(sed -n 's/^  \([a-z_]*\):.*/\1/p' fuzz/CMakeLists.txt)
if [ $# -gt 1 ]; then
  harnesy=("${@:2}")
fi
cmake --build build-fuzz -j "$(nproc)" --target "${harnesy[@]/#/fuzz_}"
export QT_QPA_PLATFORM=offscreen
# In memory where there is a /dev/shm: the state harness syncs every file it saves.
TMPDIR=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
export TMPDIR
trap 'rm -rf "$TMPDIR"' EXIT
mkdir -p build-fuzz/awarie
wynik=0
for h in "${harnesy[@]}"; do
  mkdir -p "build-fuzz/korpus/$h"
  echo "== $h ($SEKUNDY s)"
  if ! "build-fuzz/fuzz/fuzz_$h" -max_total_time="$SEKUNDY" -print_final_stats=1 \
      -artifact_prefix="build-fuzz/awarie/$h-" "build-fuzz/korpus/$h" "fuzz/korpus/$h" \
      > "build-fuzz/$h.log" 2>&1; then
    echo "   AWARIA: zob. build-fuzz/$h.log i build-fuzz/awarie/"
    wynik=1
  fi
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added)' \
    "build-fuzz/$h.log" | sed 's/^/   /'
done
exit $wynik
