#include "link/common/OdczytPliku.h"

#include <windows.h>

namespace pixo {

WynikOdczytu czytajCalyPlik(const std::string& sciezka, std::size_t maksBajtow,
                            std::string& tresc) {
    tresc.clear();
    const HANDLE h = CreateFileA(sciezka.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return WynikOdczytu::NieOtwarto;
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        return WynikOdczytu::NieOtwarto;
    }
    char blok[4096];
    bool blad = false;
    for (;;) {
        DWORD n = 0;
        if (!ReadFile(h, blok, sizeof blok, &n, nullptr)) {
            blad = true;
            break;
        }
        if (n == 0)
            break;
        tresc.append(blok, n);
        if (tresc.size() > maksBajtow)
            break;
    }
    CloseHandle(h);
    if (blad)
        return WynikOdczytu::NieOtwarto;
    return tresc.size() > maksBajtow ? WynikOdczytu::ZaDuzy : WynikOdczytu::Ok;
}

} // namespace pixo
