#!/bin/sh
# The Debian package built from this build folder: what it installs, that the programs find
# the register libraries where it puts them, that the menu entry starts a program it installs,
# that the desktop entry and the AppStream metadata pass their validators, that lintian finds
# nothing to warn about, and that the installed program answers --help and --version without a
# display and shows its window under the class the menu entry names, with its icon.
# Usage: test_pakiet.sh BUILD_FOLDER. Exit 77 (skipped) when a tool is missing.
set -eu
BUILD=$1
for narzedzie in cpack dpkg-deb desktop-file-validate appstreamcli lintian Xvfb xprop xdotool; do
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
            'share/man/man1/pixo-kasa\.1\.gz$' 'share/man/man1/pixo-klawiatura\.1\.gz$' \
            'share/man/man1/pixo-emulator\.1\.gz$' 'share/doc/pixo-klawiatura/copyright$'; do
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
# Debian installs under /usr only; a build for another prefix (a hand-made one) is not
# Debian's layout, and lintian would only say so.
prefiks=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$BUILD/CMakeCache.txt")
if [ "$prefiks" = /usr ]; then
  lintian --fail-on error,warning "$DEB" > "$TMP/lintian.log" 2>&1 ||
    { cat "$TMP/lintian.log"; zle "lintian zgłosił błędy albo ostrzeżenia"; }
else
  echo "lintian pominięty: pakiet instaluje pod $prefiks, nie pod /usr"
fi

# The options answer on the terminal: no display is opened for them.
okno=$(find . -path '*/bin/pixo-klawiatura')
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$okno" --help > "$TMP/pomoc" 2>&1 ||
  zle "--help nie zadziałało bez ekranu: $(cat "$TMP/pomoc")"
grep -q '^Użycie: pixo-klawiatura' "$TMP/pomoc" || zle "--help nie wypisało pomocy: $(cat "$TMP/pomoc")"
wersja=$(env -u DISPLAY QT_QPA_PLATFORM=xcb "$okno" --version 2>&1) || zle "--version: $wersja"
[ "$wersja" = "pixo-klawiatura $(dpkg-deb -f "$DEB" Version)" ] ||
  zle "--version wypisało \"$wersja\", pakiet ma wersję $(dpkg-deb -f "$DEB" Version)"

# The window's class is the menu entry's StartupWMClass, and the window carries an icon.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$TMP/ekran" 2> /dev/null &
xvfb=$!
trap 'kill $xvfb 2> /dev/null; [ -n "${program_pid:-}" ] && kill $program_pid 2> /dev/null; rm -rf "$TMP"' EXIT
for _ in $(seq 50); do [ -s "$TMP/ekran" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$TMP/ekran")"
mkdir "$TMP/praca"
(cd "$TMP/praca" && QT_QPA_PLATFORM=xcb exec "$TMP/drzewo/$okno") > "$TMP/okno.log" 2>&1 &
program_pid=$!
id_okna=""
for _ in $(seq 300); do
  id_okna=$(xdotool search --onlyvisible --name '^Definiowanie klawiszy w kasie' 2> /dev/null | head -1)
  [ -n "$id_okna" ] && break
  kill -0 $program_pid 2> /dev/null || zle "program skończył pracę bez okna: $(cat "$TMP/okno.log")"
  sleep 0.1
done
[ -n "$id_okna" ] || zle "okno programu nie pojawiło się w 30 s: $(cat "$TMP/okno.log")"
klasa=$(sed -n 's/^StartupWMClass=//p' "$pulpit")
[ -n "$klasa" ] || zle "pozycja menu nie podaje StartupWMClass"
xprop -id "$id_okna" WM_CLASS | grep -q "\"$klasa\"\$" ||
  zle "klasa okna $(xprop -id "$id_okna" WM_CLASS) zamiast $klasa z pozycji menu"
xprop -id "$id_okna" _NET_WM_ICON | grep -q 'Icon (' || zle "okno programu nie ma ikony"
echo "pakiet w porządku: $(basename "$DEB")"
