#include "link/kavrel/Operacje.h"

#include "link/kavrel/Konfiguracja.h"
#include "link/kavrel/PlikiKasy.h"
#include "link/kavrel/Wspolne.h"
#include "link/kavrel/ZapisPliku.h"

#include <filesystem>
#include <mutex>
#include <string>
#include <system_error>
#include <vector>

namespace pixo::kavrel {

namespace {

struct Postep {
    std::mutex mutex;
    FunkcjaPostepu funkcja = nullptr;
    void* kontekst = nullptr;
};
Postep& postep() {
    static Postep p;
    return p;
}

// Held while the function runs, so that a caller replacing it knows it has finished.
void zglosPostep(unsigned zrobione, unsigned calosc) {
    Postep& p = postep();
    const std::lock_guard<std::mutex> blokada(p.mutex);
    if (p.funkcja)
        p.funkcja(p.kontekst, zrobione, calosc);
}

// The register's connection comes from KONFIG.TXT of the current folder, and so does "comN".
const std::string FolderRoboczy = ".";

// Why the last operation could not use KONFIG.TXT; empty when it could (or did not get there).
struct PowodKonfiguracji {
    std::mutex mutex;
    std::string tekst;
};
PowodKonfiguracji& powodKonfiguracji() {
    static PowodKonfiguracji p;
    return p;
}
void zapamietajPowod(const std::string& tekst) {
    PowodKonfiguracji& p = powodKonfiguracji();
    const std::lock_guard<std::mutex> blokada(p.mutex);
    p.tekst = tekst;
}

// KONFIG.TXT read for the register, the reason of a failure kept for _PowodBleduKonfiguracji.
std::uint8_t konfiguracja(int nrKasy, ParametryLacza& parametry) {
    std::string powod;
    const std::uint8_t k = czytajKonfiguracje(FolderRoboczy, nrKasy, parametry, &powod);
    if (k != kod::Ok)
        zapamietajPowod(powod);
    return k;
}

std::uint8_t nazwaWejscia(const char* bufor, std::string& nazwa) {
    if (!tekstZBufora(bufor, nazwa) || nazwa.empty())
        return kod::BrakNazwyWejscia;
    if (nazwaZastrzezona(nazwa))
        return kod::ZastrzezonaNazwaWejscia;
    nazwa = plikBezWielkosci(nazwa);
    return kod::Ok;
}

std::uint8_t nazwy(const char* wej, const char* wyj, std::string& nWej, std::string& nWyj) {
    if (const std::uint8_t k = nazwaWejscia(wej, nWej); k != kod::Ok)
        return k;
    if (!tekstZBufora(wyj, nWyj) || nWyj.empty())
        return kod::BrakNazwyWyjscia;
    if (nazwaZastrzezona(nWyj))
        return kod::ZastrzezonaNazwaWyjscia;
    if (tenSamPlik(nWej, nWyj))
        return kod::JednakoweNazwy;
    return kod::Ok;
}

// The connection for the register number and the register number check. Exceptions from the
// client count as a reply that could not be understood.
std::uint8_t polaczZKasaNr(int nrKasy, const Polaczenie& polacz,
                           std::unique_ptr<KlientKasy>& klient) {
    ParametryLacza parametry;
    parametry.katalog = FolderRoboczy;
    if (const std::uint8_t k = konfiguracja(nrKasy, parametry); k != kod::Ok)
        return k;
    try {
        if (const std::uint8_t k = polacz(parametry, klient); k != kod::Ok)
            return k;
        if (!klient)
            return kod::PortNiedostepny;
        std::string numer;
        if (const std::uint8_t k = klient->numerKasy(numer); k != kod::Ok)
            return k;
        std::int64_t n = 0;
        if (liczba(bezOdstepow(numer), n) != WynikLiczby::Ok)
            return kod::NiepoprawnaOdpowiedz;
        return n == nrKasy ? kod::Ok : kod::InnyNumerKasy;
    } catch (...) {
        return kod::NiepoprawnaOdpowiedz;
    }
}

// The frame of the four reading operations; `pobierz` asks the register and builds the text
// of the output file.
template <class Pobierz>
std::uint8_t odczyt(const char* wej, const char* wyj, const Polaczenie& polacz, Pobierz pobierz) {
    try {
        zapamietajPowod({});
        std::string nWej, nWyj;
        if (const std::uint8_t k = nazwy(wej, wyj, nWej, nWyj); k != kod::Ok)
            return k;
        int nrKasy = 0;
        if (const std::uint8_t k = czytajZadanie(nWej, nrKasy); k != kod::Ok)
            return k;
        ParametryLacza sprawdzenie;
        if (const std::uint8_t k = konfiguracja(nrKasy, sprawdzenie); k != kod::Ok)
            return k;
        // Created before the register is asked, so a transfer is not wasted on an output that
        // cannot be written.
        PlikTymczasowy plik;
        std::error_code ec;
        if (std::filesystem::is_directory(plikBezWielkosci(nWyj), ec) ||
            !plik.utworz(plikBezWielkosci(nWyj)))
            return kod::NieOtwartoWyjscia;
        std::unique_ptr<KlientKasy> klient;
        if (const std::uint8_t k = polaczZKasaNr(nrKasy, polacz, klient); k != kod::Ok)
            return k;
        std::string tekst;
        std::uint8_t k = kod::Ok;
        klient->postep = zglosPostep;
        try {
            k = pobierz(*klient, nrKasy, tekst);
        } catch (...) {
            k = kod::NiepoprawnaOdpowiedz;
        }
        if (k != kod::Ok)
            return k;
        if (!plik.zapisz(tekst) || !plik.opublikuj())
            return kod::ZapisWyjscia;
        return kod::Ok;
    } catch (...) {
        return kod::Nieoczekiwany;
    }
}

// The frame of the two operations that only send.
template <class Czytaj, class Wyslij>
std::uint8_t wysylka(const char* plik, const Polaczenie& polacz, Czytaj czytaj, Wyslij wyslij) {
    try {
        zapamietajPowod({});
        std::string nazwa;
        if (const std::uint8_t k = nazwaWejscia(plik, nazwa); k != kod::Ok)
            return k;
        int nrKasy = 0;
        if (const std::uint8_t k = czytaj(nazwa, nrKasy); k != kod::Ok)
            return k;
        std::unique_ptr<KlientKasy> klient;
        if (const std::uint8_t k = polaczZKasaNr(nrKasy, polacz, klient); k != kod::Ok)
            return k;
        try {
            return wyslij(*klient);
        } catch (...) {
            return kod::NiepoprawnaOdpowiedz;
        }
    } catch (...) {
        return kod::Nieoczekiwany;
    }
}

} // namespace

std::string powodBleduKonfiguracji() {
    PowodKonfiguracji& p = powodKonfiguracji();
    const std::lock_guard<std::mutex> blokada(p.mutex);
    return p.tekst;
}

void ustawPostep(FunkcjaPostepu funkcja, void* kontekst) {
    Postep& p = postep();
    const std::lock_guard<std::mutex> blokada(p.mutex);
    p.funkcja = funkcja;
    p.kontekst = kontekst;
}

std::uint8_t odczytajDefinicje(const char* wejscie, const char* wyjscie, const Polaczenie& polacz) {
    return odczyt(wejscie, wyjscie, polacz, [](KlientKasy& k, int nr, std::string& tekst) {
        std::vector<DefinicjaNaKasie> definicje;
        if (const std::uint8_t w = k.czytajDefinicje(definicje); w != kod::Ok)
            return w;
        return tekstDefinicji(nr, definicje, tekst);
    });
}

std::uint8_t odczytajTowary(const char* wejscie, const char* wyjscie, const Polaczenie& polacz) {
    return odczyt(wejscie, wyjscie, polacz, [](KlientKasy& k, int nr, std::string& tekst) {
        std::vector<TowarNaKasie> towary;
        if (const std::uint8_t w = k.czytajTowary(towary); w != kod::Ok)
            return w;
        return tekstTowarow(nr, towary, tekst);
    });
}

std::uint8_t odczytajPlatnosci(const char* wejscie, const char* wyjscie, const Polaczenie& polacz) {
    return odczyt(wejscie, wyjscie, polacz, [](KlientKasy& k, int nr, std::string& tekst) {
        std::vector<std::string> nazwy;
        if (const std::uint8_t w = k.czytajPlatnosci(nazwy); w != kod::Ok)
            return w;
        return tekstPlatnosci(nr, nazwy, tekst);
    });
}

std::uint8_t odczytajWaluty(const char* wejscie, const char* wyjscie, const Polaczenie& polacz) {
    return odczyt(wejscie, wyjscie, polacz, [](KlientKasy& k, int nr, std::string& tekst) {
        std::vector<std::string> nazwy;
        if (const std::uint8_t w = k.czytajWaluty(nazwy); w != kod::Ok)
            return w;
        return tekstWalut(nr, nazwy, tekst);
    });
}

std::uint8_t zapiszDefinicje(const char* plik, const Polaczenie& polacz) {
    std::vector<DefinicjaNaKasie> definicje;
    return wysylka(
        plik, polacz,
        [&](const std::string& nazwa, int& nr) {
            return czytajPlikDefinicji(nazwa, nr, definicje);
        },
        [&](KlientKasy& k) { return k.zapiszDefinicje(definicje); });
}

std::uint8_t skasujDefinicje(const char* plik, const Polaczenie& polacz) {
    std::vector<std::uint8_t> kody;
    return wysylka(
        plik, polacz,
        [&](const std::string& nazwa, int& nr) { return czytajListeKasowania(nazwa, nr, kody); },
        [&](KlientKasy& k) { return k.skasujDefinicje(kody); });
}

} // namespace pixo::kavrel
