#!/bin/sh
# Export benchmark: builds it in Release and times one labelled export of each overlay type
# against writing the same two files as durably with plain system calls. Usage: bench/export/run.sh [build-folder] [repeats]
set -e
zrodla=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$zrodla/build-bench}
[ $# -gt 0 ] && shift
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$zrodla" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --target bench_eksport -j2 >/dev/null
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
exec "$build/bench/export/bench_eksport" "$@"
