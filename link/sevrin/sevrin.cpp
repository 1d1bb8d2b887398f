// The serial-port library with the maker's interface: open the port, select the multiplexer
// channel, run single commands. The port is looked up in the process's working folder.

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>

#include "link/common/Lacze.h"
#include "link/common/Protokol.h"
#include "link/sevrin/sevrin.h"

#define SEVRIN_API extern "C" __attribute__((visibility("default")))

namespace {

std::mutex blokada;
pixo::Lacze lacze;
std::string powodBledu; // of the last InitializePort; empty after one that opened the port

// Nothing may leave the C interface as an exception (a failed allocation, a lock that
// cannot be taken): each export turns one into its failure result.
template <typename W, typename F> W bezWyjatkow(W przyBledzie, F&& praca) {
    try {
        return praca();
    } catch (...) {
        return przyBledzie;
    }
}

} // namespace

SEVRIN_API void SEVRIN_FUNKCJA UnInitializePort(void) {
    bezWyjatkow(0, [] {
        std::lock_guard<std::mutex> l(blokada);
        lacze.zamknij();
        return 0;
    });
}

SEVRIN_API unsigned char SEVRIN_FUNKCJA InitializePort(unsigned char port, unsigned short baud,
                                                       unsigned short timeout,
                                                       unsigned short timeout2) {
    (void)timeout2; // the callers pass the same value twice
    return bezWyjatkow(pixo::protokol::WYNIK_PORT, [&] {
        std::lock_guard<std::mutex> l(blokada);
        std::string powod;
        const std::uint8_t wynik = lacze.otworz(".", port, baud, timeout, powod);
        powodBledu = wynik != 0 ? powod : std::string();
        return wynik;
    });
}

SEVRIN_API unsigned char SEVRIN_FUNKCJA UstawKanal(unsigned char kanal) {
    return bezWyjatkow(std::uint8_t{0}, [&]() -> std::uint8_t {
        std::lock_guard<std::mutex> l(blokada);
        if (kanal < 1 || kanal > 8 || !lacze.otwarte())
            return 0;
        return lacze.wybierzKanal(kanal) == 0 ? 1 : 0;
    });
}

SEVRIN_API unsigned char SEVRIN_FUNKCJA RSSequence(unsigned char rozkaz, unsigned char ile,
                                                   unsigned char ile2, unsigned char* odbior,
                                                   unsigned char* nadawanie) {
    return bezWyjatkow(pixo::protokol::WYNIK_ZLA_ODPOWIEDZ, [&]() -> std::uint8_t {
        std::lock_guard<std::mutex> l(blokada);
        if (!lacze.otwarte())
            return pixo::protokol::WYNIK_PORT;
        std::vector<std::uint8_t> argumenty;
        if (nadawanie && ile2 > 0)
            argumenty.assign(nadawanie, nadawanie + ile2);
        std::vector<std::uint8_t> dane;
        const std::uint8_t wynik = lacze.rozkaz(rozkaz, argumenty, dane);
        if (wynik != 0)
            return wynik;
        if (odbior) {
            // At most `ile` bytes (0: 255), the rest zero, so the buffer is always terminated.
            // A reply without data (write, delete) has no bytes to copy from at all.
            const std::size_t maks = ile == 0 ? 255 : ile;
            const std::size_t n = std::min({dane.size(), maks, std::size_t{255}});
            std::memset(odbior, 0, 256);
            if (n > 0)
                std::memcpy(odbior, dane.data(), n);
        }
        return 0;
    });
}

SEVRIN_API unsigned char SEVRIN_FUNKCJA PowodBleduPortu(char* bufor) {
    return bezWyjatkow(static_cast<unsigned char>(0), [&]() -> unsigned char {
        if (!bufor)
            return 0;
        std::lock_guard<std::mutex> l(blokada);
        const std::size_t n = std::min<std::size_t>(powodBledu.size(), 255);
        std::memcpy(bufor, powodBledu.data(), n);
        bufor[n] = '\0';
        return n > 0 ? 1 : 0;
    });
}
