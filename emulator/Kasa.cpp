#include "emulator/Kasa.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iconv.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "emulator/ArgumentyEmulatora.h"
#include "link/common/PlikTymczasowy.h"
#include "link/common/Protokol.h"

namespace pixo::emulator {

namespace pr = pixo::protokol;

namespace {

constexpr std::int64_t MAKS_KWOTA = 4294967295LL;

const char* const SLOWA[] = {
    "CHLEB ŻYTNI",   "MASŁO EKSTRA",   "MLEKO 3,2%",   "JAJKA WIEJSKIE", "ŚMIETANA 18%",
    "ŁOSOŚ WĘDZONY", "JABŁKA",         "GRUSZKI",      "ŻUREK ŚLĄSKI",   "KIEŁBASA",
    "SER ŻÓŁTY",     "KAWA MIELONA",   "HERBATA",      "CUKIER",         "MĄKA PSZENNA",
    "PĄCZEK Z RÓŻĄ", "WODA ŹRÓDLANA",  "SOK JABŁKOWY", "KSIĄŻKA",        "ZAPAŁKI",
    "MIÓD LIPOWY",   "OGÓRKI KISZONE", "ŚLEDŹ",        "DŻEM WIŚNIOWY",
};

const char* const PLATNOSCI[] = {"KARTA PŁATNICZA", "CZEK",    "BON TOWAROWY",
                                 "KREDYT",          "PRZELEW", "PŁATNOŚĆ MOBILNA"};
const char* const WALUTY[] = {"EUR", "USD", "GBP", "CHF", "CZK", "UAH", "NOK", "SEK"};

bool zapiszPlik(const std::string& sciezka, const std::string& tresc, std::string& blad) {
    int numer = 0;
    if (pixo::zapiszCalyPlik(sciezka, tresc, &numer))
        return true;
    const char* wlasna = pixo::przyczynaWlasna(numer);
    blad = "nie można zapisać " + sciezka + ": " + (wlasna ? wlasna : std::strerror(numer));
    return false;
}

bool czytajPlik(const std::string& sciezka, std::vector<std::string>& linie) {
    std::ifstream f(sciezka, std::ios::binary);
    if (!f)
        return false;
    linie.clear();
    std::string l;
    while (std::getline(f, l)) {
        if (!l.empty() && l.back() == '\r')
            l.pop_back();
        linie.push_back(l);
    }
    return true;
}

// Lines "number<TAB>name", names as tekstKasy takes them; the names must come in order 1..n.
// A file that is not so is left out whole (the names stay the defaults), and said so unless
// it is missing.
bool czytajNazwy(const std::string& sciezka, std::size_t ile, std::vector<std::string>& nazwy) {
    std::vector<std::string> linie;
    if (!czytajPlik(sciezka, linie))
        return false;
    std::vector<std::string> w;
    for (std::size_t i = 0; i < ile; ++i) {
        const auto tab = i < linie.size() ? linie[i].find('\t') : std::string::npos;
        if (tab == std::string::npos || linie[i].substr(0, tab) != std::to_string(i + 1) ||
            !tekstKasy(linie[i].substr(tab + 1))) {
            std::fprintf(stderr, "pixo-emulator: pominięto %s: linia %zu\n", sciezka.c_str(),
                         i + 1);
            return false;
        }
        w.push_back(linie[i].substr(tab + 1, 255));
    }
    nazwy = std::move(w);
    return true;
}

std::string tekstNazw(const std::vector<std::string>& nazwy) {
    std::string s;
    for (std::size_t i = 0; i < nazwy.size(); ++i)
        s += std::to_string(i + 1) + "\t" + nazwy[i] + "\n";
    return s;
}

bool liczba(const std::string& s, std::int64_t& v) {
    if (s.empty())
        return false;
    char* koniec = nullptr;
    errno = 0;
    v = std::strtoll(s.c_str(), &koniec, 10);
    return errno == 0 && *koniec == '\0';
}

bool flaga(std::int64_t v) {
    return v == 0 || v == 1;
}

int indeksKodu(std::uint8_t kod) {
    const auto& k = kodyKlawiszy();
    for (std::size_t i = 0; i < k.size(); ++i)
        if (k[i] == kod)
            return static_cast<int>(i);
    return -1;
}

bool jestPlatnoscia(const DefinicjaNaKasie& d) {
    return d.typ == 3 && d.pola[2] != 1;
}

// UTF-8 to a code page (iconv); a character the code page lacks becomes '?'. Goods names are
// held in code page 852, payment names in 1250: the program converts only goods names and
// shows payment names as they come (docs/protocol.md says why).
std::string naStroneKodowa(const std::string& utf8, const char* strona) {
    iconv_t cd = iconv_open(strona, "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return utf8;
    std::string wynik;
    char* we = const_cast<char*>(utf8.data());
    std::size_t weIle = utf8.size();
    char bufor[256];
    while (weIle > 0) {
        char* wy = bufor;
        std::size_t wyIle = sizeof bufor;
        const std::size_t r = iconv(cd, &we, &weIle, &wy, &wyIle);
        wynik.append(bufor, static_cast<std::size_t>(wy - bufor));
        if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // Skip one UTF-8 character that the code page does not have.
            wynik += '?';
            do {
                ++we;
                --weIle;
            } while (weIle > 0 && (static_cast<unsigned char>(*we) & 0xC0) == 0x80);
        }
    }
    iconv_close(cd);
    return wynik;
}

} // namespace

const std::vector<std::uint8_t>& kodyKlawiszy() {
    static const std::vector<std::uint8_t> kody = [] {
        const std::uint8_t bezp[] = {176, 177, 178, 179, 180};
        const std::uint8_t lewy[] = {65, 66, 67, 68, 69, 71, 72, 73, 74};
        const std::uint8_t prawy[] = {164, 38, 143, 37, 168, 41, 45, 43, 61};
        const std::uint8_t oba[] = {214, 215, 216, 217, 218};
        std::vector<std::uint8_t> w;
        for (int k = 0; k < 9; ++k) {
            if (k <= 4)
                w.push_back(bezp[k]);
            w.push_back(lewy[k]);
            w.push_back(prawy[k]);
            if (k <= 4)
                w.push_back(oba[k]);
        }
        return w;
    }();
    return kody;
}

std::string domyslnaNazwaTowaru(int plu) {
    static std::vector<std::string> slowa;
    if (slowa.empty())
        for (const char* s : SLOWA)
            slowa.push_back(naStroneKodowa(s, "CP852"));
    std::string n = slowa[static_cast<std::size_t>(plu - 1) % slowa.size()];
    n.resize(15, ' ');
    char numer[8];
    std::snprintf(numer, sizeof numer, " %04d", plu % 10000);
    return n + numer;
}

Kasa::Kasa() {
    for (int i = 1; i <= pr::LICZBA_TOWAROW; ++i)
        towary.push_back(domyslnaNazwaTowaru(i));
    for (const char* p : PLATNOSCI)
        platnosci.push_back(naStroneKodowa(p, "CP1250"));
    for (const char* w : WALUTY)
        waluty.push_back(w);
    for (std::uint8_t kod : kodyKlawiszy()) {
        DefinicjaNaKasie d;
        d.kod = kod;
        definicje.push_back(d);
    }
}

bool Kasa::wczytaj(const std::string& folder, int nowyModel, const std::string& nowyNumer,
                   std::string& blad) {
    folder_ = folder;
    if (!folder_.empty()) {
        if (mkdir(folder_.c_str(), 0755) != 0 && errno != EEXIST) {
            blad = "nie można utworzyć folderu stanu " + folder_ + ": " + std::strerror(errno);
            return false;
        }
        std::vector<std::string> linie;
        if (czytajPlik(folder_ + "/kasa.txt", linie)) {
            for (const auto& l : linie) {
                std::int64_t v;
                if (l.rfind("model=", 0) == 0 && liczba(l.substr(6), v) && v >= 0 && v <= 255)
                    model = static_cast<std::uint8_t>(v);
                else if (l.rfind("numer=", 0) == 0 && numerKasyArgumentu(l.substr(6)))
                    numer = l.substr(6);
            }
        }
        czytajNazwy(folder_ + "/towary.txt", pr::LICZBA_TOWAROW, towary);
        czytajNazwy(folder_ + "/platnosci.txt", pr::LICZBA_PLATNOSCI, platnosci);
        czytajNazwy(folder_ + "/waluty.txt", pr::LICZBA_WALUT, waluty);
        if (czytajPlik(folder_ + "/klawisze.txt", linie)) {
            for (const auto& l : linie) {
                std::istringstream s(l);
                std::string pole;
                std::vector<std::int64_t> v;
                while (std::getline(s, pole, '\t')) {
                    std::int64_t x;
                    if (!liczba(pole, x))
                        break;
                    v.push_back(x);
                }
                if (v.size() != 6 || v[0] < 0 || v[0] > 255)
                    continue;
                const int i = indeksKodu(static_cast<std::uint8_t>(v[0]));
                if (i < 0 || v[1] < 0 || v[1] > 5)
                    continue;
                DefinicjaNaKasie d;
                d.kod = static_cast<std::uint8_t>(v[0]);
                d.typ = static_cast<std::uint8_t>(v[1]);
                for (int k = 0; k < 4; ++k)
                    d.pola[k] = v[static_cast<std::size_t>(k) + 2];
                // A hand-edited state holds only what a register would have taken.
                std::uint8_t bladKlawisza = 0;
                if (sprawdz(d, bladKlawisza) != 0 || bladKlawisza != 0) {
                    std::fprintf(stderr, "pixo-emulator: pominięto definicję klawisza %d: %s\n",
                                 int(d.kod), l.c_str());
                    continue;
                }
                definicje[static_cast<std::size_t>(i)] = d;
            }
        }
    }
    if (nowyModel >= 0)
        model = static_cast<std::uint8_t>(nowyModel);
    if (!nowyNumer.empty())
        numer = nowyNumer;
    return zapisz(blad);
}

bool Kasa::zapisz(std::string& blad) const {
    if (folder_.empty())
        return true;
    return zapiszPlik(folder_ + "/kasa.txt",
                      "model=" + std::to_string(model) + "\nnumer=" + numer + "\n", blad) &&
           zapiszPlik(folder_ + "/towary.txt", tekstNazw(towary), blad) &&
           zapiszPlik(folder_ + "/platnosci.txt", tekstNazw(platnosci), blad) &&
           zapiszPlik(folder_ + "/waluty.txt", tekstNazw(waluty), blad) && zapiszDefinicje(blad);
}

bool Kasa::zapiszDefinicje(std::string& blad) const {
    if (folder_.empty())
        return true;
    std::string s;
    for (const auto& d : definicje) {
        s += std::to_string(d.kod) + "\t" + std::to_string(d.typ);
        for (std::int64_t p : d.pola)
            s += "\t" + std::to_string(p);
        s += "\n";
    }
    return zapiszPlik(folder_ + "/klawisze.txt", s, blad);
}

std::uint8_t Kasa::sprawdz(const DefinicjaNaKasie& d, std::uint8_t& bladKlawisza) const {
    if (indeksKodu(d.kod) < 0) {
        bladKlawisza = pr::KLAWISZ_NIEDOZWOLONY;
        return 0;
    }
    const auto& p = d.pola;
    switch (d.typ) {
    case 0:
        return 0;
    case 1: // goods
        if (p[0] < 1 || p[0] > pr::LICZBA_TOWAROW)
            return pr::STATUS_BLEDNY_NUMER_TOWARU;
        return flaga(p[1]) && flaga(p[2]) && flaga(p[3]) ? 0 : pr::STATUS_PARAMETR_POZA_ZAKRESEM;
    case 2: // function
        return p[0] >= 1 && p[0] <= 40 ? 0 : pr::STATUS_PARAMETR_POZA_ZAKRESEM;
    case 3: // payment or currency
        if (!flaga(p[2]) || p[1] < 0 || p[1] > MAKS_KWOTA)
            return pr::STATUS_PARAMETR_POZA_ZAKRESEM;
        if (p[2] == 1)
            return p[0] >= 1 && p[0] <= 8 ? 0 : pr::STATUS_PARAMETR_POZA_ZAKRESEM;
        return p[0] >= 1 && p[0] <= 7 ? 0 : pr::STATUS_NUMER_PLATNOSCI;
    case 4: // percent discount or markup
    case 5: // amount discount or markup
        if (!flaga(p[0]) || !flaga(p[2]) || !flaga(p[3]))
            return pr::STATUS_PARAMETR_POZA_ZAKRESEM;
        if (d.typ == 4)
            return p[1] >= 1 && p[1] <= 99 ? 0 : pr::STATUS_RABAT_POZA_ZAKRESEM;
        return p[1] >= 1 && p[1] <= MAKS_KWOTA ? 0 : pr::STATUS_RABAT_POZA_ZAKRESEM;
    default:
        return pr::STATUS_PARAMETR_POZA_ZAKRESEM;
    }
}

std::vector<std::uint8_t> Kasa::obsluz(const std::vector<std::uint8_t>& zapytanie) {
    if (zapytanie.empty())
        return pr::odpowiedz(0, pr::STATUS_NIEZNANY_ROZKAZ, 0);
    const std::uint8_t rozkaz = zapytanie[0];
    const std::uint8_t* arg = zapytanie.data() + 1;
    const std::uint8_t* koniec = zapytanie.data() + zapytanie.size();
    std::vector<std::uint8_t> dane;
    std::string blad;

    switch (rozkaz) {
    case pr::ROZKAZ_IDENTYFIKACJA:
        return pr::odpowiedz(rozkaz, 0, 0, {model});
    case pr::ROZKAZ_NUMER_KASY: {
        std::string n = numer;
        if (zlyNumer) {
            // Another register's number: the next one, 01 after 99.
            const int v = (std::atoi(numer.c_str()) % 99) + 1;
            char b[4];
            std::snprintf(b, sizeof b, "%02d", v);
            n = b;
        }
        n.resize(2, ' ');
        return pr::odpowiedz(rozkaz, 0, 0,
                             {static_cast<std::uint8_t>(n[0]), static_cast<std::uint8_t>(n[1])});
    }
    case pr::ROZKAZ_CZYTAJ_DEFINICJE:
        pr::kodujDefinicje(definicje, dane);
        return pr::odpowiedz(rozkaz, 0, 0, dane);
    case pr::ROZKAZ_ZAPISZ_DEFINICJE: {
        std::vector<DefinicjaNaKasie> nowe;
        if (!pr::dekodujDefinicje(arg, koniec, nowe))
            return pr::odpowiedz(rozkaz, pr::STATUS_PARAMETR_POZA_ZAKRESEM, 0);
        // All or nothing: every definition is checked before any is taken.
        std::vector<DefinicjaNaKasie> wynik = definicje;
        for (const auto& d : nowe) {
            std::uint8_t bladKlawisza = 0;
            const std::uint8_t status = sprawdz(d, bladKlawisza);
            if (status || bladKlawisza)
                return pr::odpowiedz(rozkaz, status, bladKlawisza);
            DefinicjaNaKasie x = d;
            if (x.typ == 0)
                x.pola[0] = x.pola[1] = x.pola[2] = x.pola[3] = 0;
            wynik[static_cast<std::size_t>(indeksKodu(d.kod))] = x;
        }
        int platnosciKlawiszy = 0;
        for (const auto& d : wynik)
            platnosciKlawiszy += jestPlatnoscia(d);
        if (platnosciKlawiszy > 8)
            return pr::odpowiedz(rozkaz, 0, pr::BRAK_MIEJSCA_NA_PLATNOSCI);
        definicje = std::move(wynik);
        if (!zapiszDefinicje(blad))
            std::fprintf(stderr, "pixo-emulator: %s\n", blad.c_str());
        return pr::odpowiedz(rozkaz, 0, 0);
    }
    case pr::ROZKAZ_KASUJ_DEFINICJE: {
        for (const std::uint8_t* p = arg; p < koniec; ++p)
            if (indeksKodu(*p) < 0)
                return pr::odpowiedz(rozkaz, 0, pr::KLAWISZ_NIEDOZWOLONY);
        for (const std::uint8_t* p = arg; p < koniec; ++p) {
            auto& d = definicje[static_cast<std::size_t>(indeksKodu(*p))];
            d = DefinicjaNaKasie{};
            d.kod = *p;
        }
        if (!zapiszDefinicje(blad))
            std::fprintf(stderr, "pixo-emulator: %s\n", blad.c_str());
        return pr::odpowiedz(rozkaz, 0, 0);
    }
    case pr::ROZKAZ_CZYTAJ_TOWARY:
        pr::kodujNazwy(towary, dane);
        return pr::odpowiedz(rozkaz, 0, 0, dane);
    case pr::ROZKAZ_CZYTAJ_PLATNOSCI:
        pr::kodujNazwy(platnosci, dane);
        return pr::odpowiedz(rozkaz, 0, 0, dane);
    case pr::ROZKAZ_CZYTAJ_WALUTY:
        pr::kodujNazwy(waluty, dane);
        return pr::odpowiedz(rozkaz, 0, 0, dane);
    default:
        return pr::odpowiedz(rozkaz, pr::STATUS_NIEZNANY_ROZKAZ, 0);
    }
}

} // namespace pixo::emulator
