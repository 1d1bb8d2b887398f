#include "link/kavrel/Konfiguracja.h"

#include "link/kavrel/Wspolne.h"

#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

namespace pixo::kavrel {

namespace {

constexpr std::size_t MaksRozmiarKonfiguracji = 64 * 1024;

const char* const PostacPola2 = " (com<port>:<szybkość>:mux<multiplekser>:<kanał>)";

// Returns `wynik`, having told why in `powod` when the caller wants to know.
std::uint8_t odmowa(std::uint8_t wynik, std::string* powod, const std::string& tekst) {
    if (powod)
        *powod = tekst;
    return wynik;
}

// A line typed by hand with blanks where the TABs belong is the commonest broken line.
bool spacjeZamiastTab(std::string_view linia) {
    return linia.find('\t') == std::string_view::npos &&
           bezOdstepow(linia).find(' ') != std::string_view::npos;
}

// One number of a line: what it is called, its text, its range.
struct Liczba {
    const char* nazwa;
    std::string_view tekst;
    std::int64_t od, do_;
    int* wynik;
};

// 16 when it is no number, 15 when it lies outside [od, do_]; the reason names the number.
std::uint8_t liczbaKonfiguracji(const Liczba& l, std::string* powod) {
    const std::string_view tekst = bezOdstepow(l.tekst);
    std::int64_t w = 0;
    const WynikLiczby wynik = liczba(tekst, w);
    if (wynik == WynikLiczby::NieLiczba)
        return odmowa(kod::FormatKonfiguracji, powod,
                      std::string(l.nazwa) + " \"" + std::string(tekst) + "\" nie jest liczbą");
    if (wynik == WynikLiczby::PozaZakresem || w < l.od || w > l.do_)
        return odmowa(kod::DaneKonfiguracji, powod,
                      std::string(l.nazwa) + " " + std::string(tekst) + " poza zakresem " +
                          std::to_string(l.od) + "-" + std::to_string(l.do_));
    *l.wynik = static_cast<int>(w);
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

std::string wLinii(std::size_t nr) {
    return "linia " + std::to_string(nr) + ": ";
}

} // namespace

std::uint8_t czytajLinieKonfiguracji(const std::string& linia, ParametryLacza& parametry,
                                     std::string* powod) {
    const std::vector<std::string_view> p = pola(linia);
    if (p.size() < 3 || bezOdstepow(p[1]).empty() || bezOdstepow(p[2]).empty()) {
        std::string brak = p.size() < 2 || bezOdstepow(p[1]).empty()
                               ? std::string("brak pola portu") + PostacPola2
                               : "brak pola timeoutu";
        if (spacjeZamiastTab(linia) ||
            (p.size() == 2 && bezOdstepow(p[1]).find(' ') != std::string_view::npos))
            brak = "pola rozdzielone spacjami, a muszą być rozdzielone znakiem TAB";
        return odmowa(kod::NiekompletnaKonfiguracja, powod, brak);
    }
    for (std::size_t i = 3; i < p.size(); ++i)
        if (!bezOdstepow(p[i]).empty())
            return odmowa(kod::FormatKonfiguracji, powod, "więcej niż trzy pola");

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
        return odmowa(kod::FormatKonfiguracji, powod,
                      std::string("pole portu ma więcej niż cztery części") + PostacPola2);

    ParametryLacza wynik = parametry;
    // The parts that are there are checked for their form first: a line of another shape is
    // a format error even when it is also short of a part.
    std::string_view port, mux;
    if (!bezPrzedrostka(czesci[0], "com", port))
        return odmowa(kod::FormatKonfiguracji, powod,
                      std::string("pole portu nie zaczyna się od com") + PostacPola2);
    if (czesci.size() > 2 && !bezPrzedrostka(czesci[2], "mux", mux))
        return odmowa(kod::FormatKonfiguracji, powod,
                      std::string("trzecia część pola portu nie zaczyna się od mux") + PostacPola2);
    int portNr = 0, baud = 0, multiplekser = 0, kanal = 0, timeout = 0;
    std::vector<Liczba> liczby{{"port", port, 1, 99, &portNr}};
    if (czesci.size() > 1)
        liczby.push_back({"szybkość", czesci[1], 0, 1'000'000, &baud});
    if (czesci.size() > 2)
        liczby.push_back({"multiplekser", mux, 0, 1, &multiplekser});
    if (czesci.size() > 3)
        liczby.push_back({"kanał", czesci[3], 1, 4, &kanal});
    liczby.push_back({"timeout", p[2], 1, 1000, &timeout});
    std::vector<std::uint8_t> kody;
    std::vector<std::string> powody;
    for (const Liczba& l : liczby) {
        std::string ten;
        kody.push_back(liczbaKonfiguracji(l, &ten));
        powody.push_back(ten);
    }
    for (std::size_t i = 0; i < kody.size(); ++i)
        if (kody[i] == kod::FormatKonfiguracji)
            return odmowa(kody[i], powod, powody[i]);
    if (czesci.size() < 4)
        return odmowa(kod::NiekompletnaKonfiguracja, powod,
                      "pole portu ma " + std::to_string(czesci.size()) +
                          " części zamiast czterech" + PostacPola2);
    for (std::size_t i = 0; i < kody.size(); ++i)
        if (kody[i] != kod::Ok)
            return odmowa(kody[i], powod, powody[i]);
    if (baud != 9600 && baud != 19200 && baud != 28800 && baud != 57600)
        return odmowa(kod::DaneKonfiguracji, powod,
                      "szybkość " + std::to_string(baud) +
                          " nie jest jedną z 9600, 19200, 28800, 57600");

    wynik.port = portNr;
    wynik.baud = baud;
    wynik.multiplekser = multiplekser;
    wynik.kanal = kanal;
    wynik.timeoutSek = timeout;
    parametry = wynik;
    return kod::Ok;
}

std::uint8_t czytajKonfiguracje(const std::string& folder, int nrKasy, ParametryLacza& parametry,
                                std::string* powod) {
    const std::string nazwa = plikBezWielkosci((fs::path(folder) / "KONFIG.TXT").string());
    std::vector<std::string> linie;
    // On a refused line `linie` holds the lines before it.
    switch (czytajLinie(nazwa, MaksRozmiarKonfiguracji, linie)) {
    case WynikCzytania::NieOtwarto:
        return odmowa(kod::NieOtwartoKonfiguracji, powod,
                      "brak pliku KONFIG.TXT w folderze albo nie można go odczytać");
    case WynikCzytania::ZaDuzy:
        return odmowa(kod::FormatKonfiguracji, powod, "plik jest większy niż 64 KiB");
    case WynikCzytania::ZlyZnak:
        return odmowa(kod::FormatKonfiguracji, powod,
                      wLinii(linie.size() + 1) +
                          "znak sterujący (między polami dozwolony jest tylko TAB)");
    case WynikCzytania::ZaDlugaLinia:
        return odmowa(kod::FormatKonfiguracji, powod,
                      wLinii(linie.size() + 1) + "ponad 255 znaków");
    case WynikCzytania::Ok:
        break;
    }
    bool jestLinia = false;
    for (std::size_t i = 0; i < linie.size(); ++i) {
        const std::string& l = linie[i];
        if (bezOdstepow(l).empty())
            continue;
        jestLinia = true;
        std::int64_t numer = 0;
        // Without a readable number there is no telling whose line it is.
        if (!numerZLinii(pola(l).front(), numer))
            return odmowa(
                kod::FormatKonfiguracji, powod,
                wLinii(i + 1) +
                    (spacjeZamiastTab(l)
                         ? "pola rozdzielone spacjami, a muszą być rozdzielone znakiem TAB"
                         : "nie zaczyna się od $ i numeru kasy"));
        if (numer == nrKasy) {
            const std::uint8_t k = czytajLinieKonfiguracji(l, parametry, powod);
            if (k != kod::Ok && powod)
                *powod = wLinii(i + 1) + *powod;
            return k;
        }
    }
    if (!jestLinia)
        return odmowa(kod::NiekompletnaKonfiguracja, powod, "plik nie ma żadnej linii");
    return odmowa(kod::BrakSkojarzenia, powod,
                  "żadna linia nie zaczyna się od $ i numeru kasy " + std::to_string(nrKasy));
}

} // namespace pixo::kavrel
