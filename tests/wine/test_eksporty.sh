#!/bin/sh
# The Windows build's DLLs: exactly the maker's names and our optional ones, undecorated, and no
# DLL of the compiler's runtime needed beside them or beside the bridge.
# Usage: test_eksporty.sh WINDOWS_BUILD_FOLDER.
set -eu
W=$1
zle() { echo "BŁĄD: $*"; exit 1; }
eksporty() {
  i686-w64-mingw32-objdump -p "$1" |
    sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/s/^\t\[ *[0-9]*\] //p' | sort | tr '\n' ' '
}
importy() {
  i686-w64-mingw32-objdump -p "$1" | sed -n 's/^\tDLL Name: //p' | sort -u | tr '\n' ' '
}
oczekiwane="_BladSystemuPliku _OtwartoPlik _PowodBleduKonfiguracji _PowodBleduPortu _UstawPostep _ZamknieciePliku _ZapisanoDoPlikuLinie \
__KDefKlaw __ODefKlaw __OPlat __OWaluta __TowarMax __ZDefKlaw "
[ "$(eksporty "$W/Kavrel.dll")" = "$oczekiwane" ] ||
  zle "Kavrel.dll eksportuje: $(eksporty "$W/Kavrel.dll")"
oczekiwane="InitializePort PowodBleduPortu RSSequence UnInitializePort UstawKanal "
[ "$(eksporty "$W/Sevrin.dll")" = "$oczekiwane" ] ||
  zle "Sevrin.dll eksportuje: $(eksporty "$W/Sevrin.dll")"
for plik in Kavrel.dll Sevrin.dll pixo-most.exe; do
  [ "$(importy "$W/$plik")" = "KERNEL32.dll msvcrt.dll " ] ||
    zle "$plik potrzebuje: $(importy "$W/$plik")"
done
echo "eksporty i importy w porządku"
