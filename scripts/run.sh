#!/usr/bin/env bash
# Sets up, builds (Release) and starts the program in the demo folder, with the register
# emulator attached as port 1, so every button can be tried without a register. The emulator
# sends at the pace of a real line at 57600 baud: the goods import takes about 12 s.
# With PIXO_WINE=1 the demo folder gets our libraries built as the maker's Windows DLLs
# (Kavrel.dll, Sevrin.dll), so every register operation runs through Wine as with the maker's.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
CELE=(pixo-klawiatura pixo-emulator)
[ "${PIXO_WINE:-}" = 1 ] && CELE+=(pixo_windows)
cmake --build build-release -j "$(nproc)" --target "${CELE[@]}"

mkdir -p demo/kasa
[ -f resources/hourglas.ani ] && cp -n resources/hourglas.ani demo/ || true
for dll in Kavrel.dll Sevrin.dll; do
  if [ "${PIXO_WINE:-}" = 1 ]; then
    cp "build-release/windows/$dll" demo/
  elif [ -f "demo/$dll" ] && cmp -s "demo/$dll" "build-release/windows/$dll"; then
    rm "demo/$dll" # ours from an earlier PIXO_WINE run; the maker's would stay
  fi
done

EMULATOR=build-release/emulator/pixo-emulator
PID_EMULATORA=""
if [ -x "$EMULATOR" ]; then
  "$EMULATOR" --folder demo --port 1 --state demo/kasa --pace --baud 57600 > demo/emulator.log 2>&1 &
  PID_EMULATORA=$!
  for _ in $(seq 50); do [ -e demo/com1 ] && break; sleep 0.1; done
fi
trap '[ -n "$PID_EMULATORA" ] && kill "$PID_EMULATORA" 2>/dev/null || true' EXIT

cd demo
../build-release/app/pixo-klawiatura
