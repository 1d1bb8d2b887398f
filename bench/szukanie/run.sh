#!/bin/sh
# Goods search benchmark: builds it in Release and times every keystroke of a search over the
# 3071 goods in the program's window against typing into a plain field of the same window.
# Usage: bench/szukanie/run.sh [build-folder] [repeats]
set -e
zrodla=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$zrodla/build-bench}
[ $# -gt 0 ] && shift
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$zrodla" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --target bench_szukanie -j2 >/dev/null
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
exec "$build/bench/szukanie/bench_szukanie" "$@"
