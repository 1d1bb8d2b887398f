// The functions the program imports by name. C linkage, one-byte results, 256-byte
// zero-terminated buffers; nothing may throw past this boundary (the operations catch
// everything themselves). Linux keeps them by the version script (kavrel.map), the Windows
// DLL by its module definition (kavrel.def), which also drops the stdcall decoration.

#include "link/kavrel/Operacje.h"
#include "link/kavrel/ZapisPliku.h"
#include "link/kavrel/kavrel.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

#include "link/common/Protokol.h"

#define KAVREL_EKSPORT extern "C" __attribute__((visibility("default")))

using namespace pixo::kavrel;

namespace {

// Why the last connection could not open its port (empty after one that did).
std::mutex mutexPowodu;
std::string powodBleduPortu;

// The real register over the serial line named in KONFIG.TXT.
std::uint8_t polaczZKasa(const pixo::ParametryLacza& p, std::unique_ptr<pixo::KlientKasy>& k) {
    std::string powod;
    const std::uint8_t wynik = pixo::polaczZKasa(p, k, &powod);
    const std::lock_guard<std::mutex> blokada(mutexPowodu);
    powodBleduPortu = wynik == pixo::protokol::WYNIK_PORT ? powod : std::string();
    return wynik;
}

} // namespace

KAVREL_EKSPORT unsigned char KAVREL_OPERACJA __ODefKlaw(const char* wej, const char* wyj) {
    return odczytajDefinicje(wej, wyj, polaczZKasa);
}

KAVREL_EKSPORT unsigned char KAVREL_OPERACJA __ZDefKlaw(const char* plik) {
    return zapiszDefinicje(plik, polaczZKasa);
}

KAVREL_EKSPORT unsigned char KAVREL_OPERACJA __KDefKlaw(const char* plik) {
    return skasujDefinicje(plik, polaczZKasa);
}

KAVREL_EKSPORT unsigned char KAVREL_OPERACJA __TowarMax(const char* wej, const char* wyj) {
    return odczytajTowary(wej, wyj, polaczZKasa);
}

KAVREL_EKSPORT unsigned char KAVREL_OPERACJA __OPlat(const char* wej, const char* wyj) {
    return odczytajPlatnosci(wej, wyj, polaczZKasa);
}

KAVREL_EKSPORT unsigned char KAVREL_OPERACJA __OWaluta(const char* wej, const char* wyj) {
    return odczytajWaluty(wej, wyj, polaczZKasa);
}

KAVREL_EKSPORT unsigned char KAVREL_PLIK _OtwartoPlik(std::int32_t* uchwyt, const char* nazwa,
                                                      unsigned char tryb) {
    try {
        return otworzPlikLiniowy(uchwyt, nazwa, tryb);
    } catch (...) {
        return 0;
    }
}

KAVREL_EKSPORT unsigned char KAVREL_PLIK _ZapisanoDoPlikuLinie(std::int32_t uchwyt,
                                                               const char* linia) {
    try {
        return zapiszLiniePliku(uchwyt, linia);
    } catch (...) {
        return 0;
    }
}

KAVREL_EKSPORT unsigned char KAVREL_PLIK _ZamknieciePliku(std::int32_t* uchwyt) {
    try {
        return zamknijPlikLiniowy(uchwyt);
    } catch (...) {
        return 0;
    }
}

KAVREL_EKSPORT void KAVREL_OPERACJA _UstawPostep(KavrelPostep funkcja, void* kontekst) {
    try {
        ustawPostep(funkcja, kontekst);
    } catch (...) {
        // A lock that cannot be taken leaves the previous function in place.
    }
}

namespace {

// The text into the caller's 256-byte buffer, cut to 255 bytes; 1 when there was a text.
unsigned char doBufora(const std::string& tekst, char* bufor) {
    const std::size_t n = std::min<std::size_t>(tekst.size(), 255);
    std::memcpy(bufor, tekst.data(), n);
    bufor[n] = '\0';
    return n > 0 ? 1 : 0;
}

} // namespace

KAVREL_EKSPORT unsigned char KAVREL_OPERACJA _PowodBleduPortu(char* bufor) {
    try {
        if (!bufor)
            return 0;
        const std::lock_guard<std::mutex> blokada(mutexPowodu);
        return doBufora(powodBleduPortu, bufor);
    } catch (...) {
        return 0;
    }
}

KAVREL_EKSPORT unsigned char KAVREL_OPERACJA _PowodBleduKonfiguracji(char* bufor) {
    try {
        if (!bufor)
            return 0;
        return doBufora(powodBleduKonfiguracji(), bufor);
    } catch (...) {
        return 0;
    }
}

KAVREL_EKSPORT int KAVREL_OPERACJA _BladSystemuPliku() {
    try {
        return bladSystemuPlikuLiniowego();
    } catch (...) {
        return 0;
    }
}
