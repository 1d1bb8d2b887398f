#!/bin/sh
# The bridge to the maker's DLLs under Wine: a call's round trip and the bridge's start, beside
# the program's own libraries. Needs the cross compiler and Wine (scripts/setup.sh); the first
# run makes the benchmark's Wine prefix in the build folder (about 10 s).
# Usage: bench/wine/run.sh [build-folder]
set -e
zrodla=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$zrodla/build-bench}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$zrodla" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
if ! grep -q pixo_windows "$build/build.ninja" || ! command -v wine >/dev/null; then
  echo "pominięty: brak kompilatora i686-w64-mingw32 albo programu wine (scripts/setup.sh)"
  exit 0
fi
cmake --build "$build" --target bench_most -j2 >/dev/null
"$build/bench/wine/bench_most"
