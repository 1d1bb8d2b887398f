#!/bin/sh
# Transfer benchmark: builds the benchmark, the emulator and libkavrel.so, then times a
# key-definition read and write at 9600 baud and a goods export at 57600 baud against the wire
# time of their payloads. Usage: bench/transfer/run.sh [build-folder] [bench_transfer options]
set -e
zrodla=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$zrodla/build-bench}
[ $# -gt 0 ] && shift
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$zrodla" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --target bench_transfer pixo-emulator -j2 >/dev/null
cmake --build "$build" --target kavrel -j2 >/dev/null 2>&1 || true
exec "$build/bench/transfer/bench_transfer" "$@"
