#!/usr/bin/env bash
# Builds the Debian package of the program, its register libraries, the emulator and the
# command-line tool, installed under /usr; prints the package's path. Only what the package
# installs is built (no tests, benchmarks or fuzzing harnesses), with Debian's hardening flags as
# dpkg-buildflags gives them: all of them, fortify and bind-now included.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
BUILD=${PIXO_BUILD:-build-pakiet}
flagi() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }
# CMake has no place for the preprocessor's flags of its own; they go with the compilers'.
CPPFLAGS=$(flagi CPPFLAGS)
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DPIXO_TESTY=OFF \
  -DCMAKE_C_FLAGS="$(flagi CFLAGS) $CPPFLAGS" -DCMAKE_CXX_FLAGS="$(flagi CXXFLAGS) $CPPFLAGS" \
  -DCMAKE_EXE_LINKER_FLAGS="$(flagi LDFLAGS)" -DCMAKE_SHARED_LINKER_FLAGS="$(flagi LDFLAGS)" \
  -DCMAKE_MODULE_LINKER_FLAGS="$(flagi LDFLAGS)" > /dev/null
cmake --build "$BUILD" -j "$(nproc)"
(cd "$BUILD" && cpack -G DEB > /dev/null)
ls "$PWD/$BUILD"/pixo-klawiatura_*.deb
