#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite headless.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
BUILD=${PIXO_BUILD:-build}
# CI turns warnings into errors (PIXO_WERROR=ON); a user's build only shows them. With
# PIXO_SANITIZE=ON the suite runs under AddressSanitizer and UndefinedBehaviorSanitizer, and
# any report fails the test that made it. The prefix is the package's, so that the packaging
# test checks a package laid out as scripts/pakiet.sh lays it out.
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
  -DPIXO_WYMAGAJ_WINE=ON \
  -DCMAKE_COMPILE_WARNING_AS_ERROR="${PIXO_WERROR:-OFF}" -DPIXO_SANITIZE="${PIXO_SANITIZE:-OFF}" \
  > /dev/null
cmake --build "$BUILD" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
ctest --test-dir "$BUILD" --output-on-failure -j "$(nproc)"
