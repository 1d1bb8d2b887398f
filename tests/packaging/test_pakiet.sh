#!/bin/sh
# The Debian package built from this build folder: what it installs, that the programs find
# the register libraries where it puts them, that the menu entry starts a program it installs,
# and that the desktop entry and the AppStream metadata pass their validators.
# Usage: test_pakiet.sh BUILD_FOLDER. Exit 77 (skipped) when a tool is missing.
set -eu
BUILD=$1
for narzedzie in cpack dpkg-deb desktop-file-validate appstreamcli; do
  if ! command -v "$narzedzie" > /dev/null; then
    echo "pominięty: brak programu $narzedzie (scripts/setup.sh go instaluje)"
    exit 77
  fi
done
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
zle() { echo "BŁĄD: $*"; exit 1; }

cpack -G DEB -B "$TMP/pakiet" --config "$BUILD/CPackConfig.cmake" > "$TMP/cpack.log" 2>&1 ||
  { cat "$TMP/cpack.log"; zle "cpack nie zbudował pakietu"; }
DEB=$(ls "$TMP"/pakiet/pixo-klawiatura_*.deb)
dpkg-deb -x "$DEB" "$TMP/drzewo"
cd "$TMP/drzewo"

# Every piece the package is for, wherever the build's prefix put it.
for wzor in 'bin/pixo-klawiatura$' 'bin/pixo-emulator$' 'bin/pixo-kasa$' \
            '/pixo-klawiatura/libkavrel\.so$' '/pixo-klawiatura/libsevrin\.so$' \
            'share/applications/pl\.pixo\.Klawiatura\.desktop$' \
            'share/metainfo/pl\.pixo\.Klawiatura\.metainfo\.xml$' \
            'share/icons/hicolor/scalable/apps/pl\.pixo\.Klawiatura\.svg$' \
            'share/man/man1/pixo-kasa\.1\.gz$'; do
  find . -type f | grep -q -- "$wzor" || zle "w pakiecie brak pliku $wzor"
done
# With the cross compiler, the bridge to the maker's DLLs; Wine is suggested either way.
if [ -e "$BUILD/windows/pixo-most.exe" ]; then
  find . -type f | grep -q -- '/pixo-klawiatura/pixo-most\.exe$' ||
    zle "w pakiecie brak mostu pixo-most.exe"
fi
dpkg-deb -f "$DEB" Suggests | grep -qw wine || zle "pakiet nie proponuje Wine"

# The programs load the register libraries from the package's own folder, not the build's.
for program in pixo-klawiatura pixo-kasa; do
  sciezka=$(find . -path "*/bin/$program")
  ldd "$sciezka" > "$TMP/ldd" 2>&1 || true
  for biblioteka in libkavrel.so libsevrin.so; do
    grep "$biblioteka" "$TMP/ldd" | grep -q "$TMP/drzewo/" ||
      zle "$program nie znajduje $biblioteka w pakiecie: $(grep "$biblioteka" "$TMP/ldd")"
  done
done

# The menu entry runs the package's launcher, which runs the package's program.
pulpit=$(find . -name pl.pixo.Klawiatura.desktop)
exec_=$(sed -n 's/^Exec=//p' "$pulpit")
[ -x ".$exec_" ] || zle "pozycja menu uruchamia $exec_, którego pakiet nie instaluje"
program=$(sed -n 's/^exec "\([^"]*\)".*/\1/p' ".$exec_")
[ -x ".$program" ] || zle "$exec_ uruchamia $program, którego pakiet nie instaluje"

desktop-file-validate "$pulpit" || zle "desktop-file-validate odrzucił pozycję menu"
appstreamcli validate --no-net "$(find . -name pl.pixo.Klawiatura.metainfo.xml)" ||
  zle "appstreamcli odrzucił metadane AppStream"
echo "pakiet w porządku: $(basename "$DEB")"
