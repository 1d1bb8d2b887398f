#include "link/kavrel/Konfiguracja.h"

#include "link/kavrel/Wspolne.h"

#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

namespace pixo::kavrel {

namespace {

constexpr std::size_t MaksRozmiarKonfiguracji = 64 * 1024;

// A number field: 16 when it is no number, 15 when it lies outside [od, do_].
std::uint8_t liczbaKonfiguracji(std::string_view tekst, std::int64_t od, std::int64_t do_,
                                int& wynik) {
    std::int64_t w = 0;
    switch (liczba(bezOdstepow(tekst), w)) {
    case WynikLiczby::NieLiczba:
        return kod::FormatKonfiguracji;
    case WynikLiczby::PozaZakresem:
        return kod::DaneKonfiguracji;
    case WynikLiczby::Ok:
        break;
    }
    if (w < od || w > do_)
        return kod::DaneKonfiguracji;
    wynik = static_cast<int>(w);
    return kod::Ok;
}

// "com12" -> "12" when the prefix matches (any case).
bool bezPrzedrostka(std::string_view tekst, std::string_view przedrostek,
                    std::string_view& reszta) {
    tekst = bezOdstepow(tekst);
    if (tekst.size() < przedrostek.size() ||
        !rowneBezWielkosci(tekst.substr(0, przedrostek.size()), przedrostek))
        return false;
    reszta = tekst.substr(przedrostek.size());
    return true;
}

// Field 1 of a line: "$" and the register number. False when it is not of that form.
bool numerZLinii(std::string_view pole1, std::int64_t& numer) {
    pole1 = bezOdstepow(pole1);
    if (pole1.size() < 2 || pole1.front() != '$')
        return false;
    const WynikLiczby w = liczba(bezOdstepow(pole1.substr(1)), numer);
    if (w == WynikLiczby::PozaZakresem) {
        numer = -1; // a number, but no register's
        return true;
    }
    return w == WynikLiczby::Ok && numer >= 0;
}

} // namespace

std::uint8_t czytajLinieKonfiguracji(const std::string& linia, ParametryLacza& parametry) {
    const std::vector<std::string_view> p = pola(linia);
    if (p.size() < 3 || bezOdstepow(p[1]).empty() || bezOdstepow(p[2]).empty())
        return kod::NiekompletnaKonfiguracja;
    for (std::size_t i = 3; i < p.size(); ++i)
        if (!bezOdstepow(p[i]).empty())
            return kod::FormatKonfiguracji;

    std::vector<std::string_view> czesci;
    std::string_view pole2 = p[1];
    for (;;) {
        const std::size_t dwukropek = pole2.find(':');
        czesci.push_back(pole2.substr(0, dwukropek));
        if (dwukropek == std::string_view::npos)
            break;
        pole2.remove_prefix(dwukropek + 1);
    }
    if (czesci.size() > 4)
        return kod::FormatKonfiguracji;

    ParametryLacza wynik = parametry;
    // The parts that are there are checked for their form first: a line of another shape is
    // a format error even when it is also short of a part.
    std::string_view port, mux;
    if (!bezPrzedrostka(czesci[0], "com", port) ||
        (czesci.size() > 2 && !bezPrzedrostka(czesci[2], "mux", mux)))
        return kod::FormatKonfiguracji;
    int portNr = 0, baud = 0, multiplekser = 0, kanal = 0, timeout = 0;
    const std::uint8_t kody[] = {
        liczbaKonfiguracji(port, 1, 99, portNr),
        czesci.size() > 1 ? liczbaKonfiguracji(czesci[1], 0, 1'000'000, baud) : kod::Ok,
        czesci.size() > 2 ? liczbaKonfiguracji(mux, 0, 1, multiplekser) : kod::Ok,
        czesci.size() > 3 ? liczbaKonfiguracji(czesci[3], 1, 4, kanal) : kod::Ok,
        liczbaKonfiguracji(p[2], 1, 1000, timeout),
    };
    for (std::uint8_t k : kody)
        if (k == kod::FormatKonfiguracji)
            return k;
    if (czesci.size() < 4)
        return kod::NiekompletnaKonfiguracja;
    for (std::uint8_t k : kody)
        if (k != kod::Ok)
            return k;
    if (baud != 9600 && baud != 19200 && baud != 28800 && baud != 57600)
        return kod::DaneKonfiguracji;

    wynik.port = portNr;
    wynik.baud = baud;
    wynik.multiplekser = multiplekser;
    wynik.kanal = kanal;
    wynik.timeoutSek = timeout;
    parametry = wynik;
    return kod::Ok;
}

std::uint8_t czytajKonfiguracje(const std::string& folder, int nrKasy, ParametryLacza& parametry) {
    const std::string nazwa = plikBezWielkosci((fs::path(folder) / "KONFIG.TXT").string());
    std::vector<std::string> linie;
    switch (czytajLinie(nazwa, MaksRozmiarKonfiguracji, linie)) {
    case WynikCzytania::NieOtwarto:
        return kod::NieOtwartoKonfiguracji;
    case WynikCzytania::ZaDuzy:
    case WynikCzytania::ZlyZnak:
    case WynikCzytania::ZaDlugaLinia:
        return kod::FormatKonfiguracji;
    case WynikCzytania::Ok:
        break;
    }
    bool jestLinia = false;
    for (const std::string& linia : linie) {
        if (bezOdstepow(linia).empty())
            continue;
        jestLinia = true;
        std::int64_t numer = 0;
        // Without a readable number there is no telling whose line it is.
        if (!numerZLinii(pola(linia).front(), numer))
            return kod::FormatKonfiguracji;
        if (numer == nrKasy)
            return czytajLinieKonfiguracji(linia, parametry);
    }
    return jestLinia ? kod::BrakSkojarzenia : kod::NiekompletnaKonfiguracja;
}

} // namespace pixo::kavrel
