#!/bin/sh
# Transfer benchmark: builds the benchmark, the emulator and libkavrel.so, then times a
# key-definition read and write at 9600 baud and a goods export at 57600 baud against the wire
# time of their payloads; then the whole start-up import through the program's window at 57600
# baud, with the program's libraries and (when built) through Wine. Usage: bench/transfer/run.sh [build-folder] [bench_transfer options]
set -e
zrodla=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$zrodla/build-bench}
[ $# -gt 0 ] && shift
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$zrodla" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cele="bench_transfer bench_import pixo-emulator kavrel"
# With the cross compiler the import also runs through the Windows DLLs under Wine.
grep -q pixo_windows "$build/build.ninja" && cele="$cele pixo_windows"
cmake --build "$build" --target $cele -j2 >/dev/null
wynik=0
"$build/bench/transfer/bench_transfer" "$@" || wynik=1
echo
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/bench/transfer/bench_import" || wynik=1
exit $wynik
