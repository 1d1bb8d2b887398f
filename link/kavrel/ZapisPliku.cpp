#include "link/kavrel/ZapisPliku.h"

#include "link/kavrel/Wspolne.h"

#include <array>
#include <cerrno>
#include <climits>
#include <filesystem>
#include <memory>
#include <mutex>
#include <system_error>

namespace fs = std::filesystem;

namespace pixo::kavrel {

std::uint8_t zapiszCalyPlik(const std::string& nazwa, std::string_view tresc) {
    PlikTymczasowy plik;
    if (!plik.utworz(plikBezWielkosci(nazwa)))
        return kod::NieOtwartoWyjscia;
    if (!plik.zapisz(tresc) || !plik.opublikuj())
        return kod::ZapisWyjscia;
    return kod::Ok;
}

// ---- line-file writer ----

namespace {

struct PlikLiniowy {
    PlikTymczasowy plik;
    bool blad = false;
    int bladSystemu = 0; // of the line that failed, for its close
    std::int32_t uchwyt = 0;
};

// A handle names a slot of the table and the open that took it: slot + 1 + 32 * the open's
// number. A handle kept after its close is refused even when a later open took the same slot,
// so it cannot write into another file.
std::mutex mutexPlikow;
std::array<std::unique_ptr<PlikLiniowy>, MaksPlikowLiniowych> plikiLiniowe;
std::int32_t kolejneOtwarcie = 0;
int ostatniBladSystemu = 0; // of the last call, under mutexPlikow

// Records the outcome of a call (under mutexPlikow) and returns its result.
unsigned char wynikPliku(bool udane, int bladSystemu) {
    ostatniBladSystemu = udane ? 0 : bladSystemu;
    return udane ? 1 : 0;
}

PlikLiniowy* wpis(std::int32_t uchwyt) {
    if (uchwyt < 1)
        return nullptr;
    PlikLiniowy* p =
        plikiLiniowe[static_cast<std::size_t>((uchwyt - 1) % MaksPlikowLiniowych)].get();
    return p && p->uchwyt == uchwyt ? p : nullptr;
}

} // namespace

unsigned char otworzPlikLiniowy(std::int32_t* uchwyt, const char* nazwa, unsigned char tryb) {
    std::string n;
    if (uchwyt == nullptr || tryb != 1 || !tekstZBufora(nazwa, n) || n.empty()) {
        std::lock_guard blokada(mutexPlikow);
        return wynikPliku(false, 0);
    }
    std::error_code ec;
    // A folder cannot be replaced by the file at its close.
    const bool folder = fs::is_directory(plikBezWielkosci(n), ec);
    auto nowy = std::make_unique<PlikLiniowy>();
    if (folder || !nowy->plik.utworz(plikBezWielkosci(n))) {
        std::lock_guard blokada(mutexPlikow);
        return wynikPliku(false, folder ? EISDIR : nowy->plik.bladSystemu());
    }
    std::lock_guard blokada(mutexPlikow);
    for (std::size_t i = 0; i < plikiLiniowe.size(); ++i) {
        if (!plikiLiniowe[i]) {
            // Open numbers wrap long before the handle would leave the positive int32 range.
            kolejneOtwarcie = (kolejneOtwarcie + 1) % (INT32_MAX / MaksPlikowLiniowych - 1);
            nowy->uchwyt = static_cast<std::int32_t>(i + 1) + kolejneOtwarcie * MaksPlikowLiniowych;
            *uchwyt = nowy->uchwyt;
            plikiLiniowe[i] = std::move(nowy);
            return wynikPliku(true, 0);
        }
    }
    return wynikPliku(false, EMFILE); // table full; the temporary goes with `nowy`
}

unsigned char zapiszLiniePliku(std::int32_t uchwyt, const char* linia) {
    std::lock_guard blokada(mutexPlikow);
    PlikLiniowy* p = wpis(uchwyt);
    if (p == nullptr)
        return wynikPliku(false, 0);
    std::string tekst;
    // A line with its own line breaks would not be one line any more.
    if (p->blad || !tekstZBufora(linia, tekst) ||
        tekst.find_first_of("\r\n") != std::string::npos) {
        p->blad = true;
        return wynikPliku(false, p->bladSystemu);
    }
    tekst += "\r\n";
    if (!p->plik.zapisz(tekst)) {
        p->blad = true;
        p->bladSystemu = p->plik.bladSystemu();
        return wynikPliku(false, p->bladSystemu);
    }
    return wynikPliku(true, 0);
}

unsigned char zamknijPlikLiniowy(std::int32_t* uchwyt) {
    std::unique_ptr<PlikLiniowy> p;
    {
        std::lock_guard blokada(mutexPlikow);
        if (uchwyt == nullptr || wpis(*uchwyt) == nullptr)
            return wynikPliku(false, 0);
        p = std::move(plikiLiniowe[static_cast<std::size_t>((*uchwyt - 1) % MaksPlikowLiniowych)]);
        *uchwyt = 0;
    }
    // The temporary of a failed file is removed with `p`.
    const bool udane = !p->blad && p->plik.opublikuj();
    std::lock_guard blokada(mutexPlikow);
    return wynikPliku(udane, p->blad ? p->bladSystemu : p->plik.bladSystemu());
}

int bladSystemuPlikuLiniowego() {
    std::lock_guard blokada(mutexPlikow);
    return ostatniBladSystemu;
}

} // namespace pixo::kavrel
