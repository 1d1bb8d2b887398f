#!/usr/bin/env bash
# Builds the Debian package of the program, its register libraries, the emulator and the
# command-line tool, installed under /usr; prints the package's path.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
BUILD=${PIXO_BUILD:-build-pakiet}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr > /dev/null
cmake --build "$BUILD" -j "$(nproc)"
(cd "$BUILD" && cpack -G DEB > /dev/null)
ls "$PWD/$BUILD"/pixo-klawiatura_*.deb
