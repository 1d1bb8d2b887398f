#!/usr/bin/env bash
# Installs every build and test dependency from Debian packages; does nothing when they are
# all there already.
set -euo pipefail

PAKIETY=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-translations-l10n libgl-dev libfontconfig-dev zlib1g-dev xvfb xauth xdotool
         imagemagick clang clang-format libclang-rt-14-dev fonts-dejavu-core fonts-liberation poppler-utils hyperfine x11-utils
         dpkg-dev file desktop-file-utils appstream lintian
         g++-mingw-w64-i686 wine wine32:i386)

brakujace=()
for p in "${PAKIETY[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    brakujace+=("$p")
  fi
done
[ ${#brakujace[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Instaluję pakiety: ${brakujace[*]}"
# Wine's 32-bit half (it runs the register maker's 32-bit DLLs) comes from the i386 packages.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends \
  -o DPkg::Lock::Timeout=300 "${brakujace[@]}"
