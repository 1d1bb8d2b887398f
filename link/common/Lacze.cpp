#include "link/common/Lacze.h"

#include <chrono>

#include "link/common/Protokol.h"

namespace pixo {

namespace {

using Zegar = std::chrono::steady_clock;
using protokol::WYNIK_NAK;
using protokol::WYNIK_TIMEOUT_ODBIORU;
using protokol::WYNIK_ZLA_ODPOWIEDZ;

int doMs(Zegar::time_point t) {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(t - Zegar::now()).count();
    return ms < 0 ? 0 : static_cast<int>(ms);
}

} // namespace

std::uint8_t Lacze::otworz(const std::string& katalog, int port, int baud, int timeoutSek,
                           std::string& powod) {
    ustawTimeout(timeoutSek);
    baud_ = baud > 0 ? baud : 9600;
    dekoder_.wyczysc();
    return port_.otworz(katalog, port, baud, powod);
}

void Lacze::ustawTimeout(int timeoutSek) {
    timeoutMs_ = (timeoutSek < 1 ? 1 : timeoutSek) * 1000;
}

std::uint8_t Lacze::wyslij(const std::vector<std::uint8_t>& bajty) {
    return port_.pisz(bajty.data(), bajty.size(), timeoutMs_);
}

std::uint8_t Lacze::wybierzKanal(int kanal) {
    if (!port_.otwarty())
        return protokol::WYNIK_PORT;
    const std::vector<std::uint8_t> ramkaKanalu =
        ramka::koduj(ramka::KANAL, 0, {static_cast<std::uint8_t>(kanal)});
    bool cokolwiek = false;
    // One timeout for the whole selection, repetitions included.
    const auto termin = Zegar::now() + std::chrono::milliseconds(timeoutMs_);
    for (int proba = 0; proba <= protokol::MAKS_POWTORZEN; ++proba) {
        dekoder_.wyczysc();
        port_.oproznijWejscie();
        if (std::uint8_t w = wyslij(ramkaKanalu))
            return w;
        bool ponow = false;
        while (!ponow) {
            std::uint8_t bufor[256];
            const long n = port_.czytaj(bufor, sizeof bufor, doMs(termin));
            if (n < 0)
                return WYNIK_TIMEOUT_ODBIORU;
            if (n == 0)
                return cokolwiek || dekoder_.odrzucone() ? WYNIK_ZLA_ODPOWIEDZ
                                                         : WYNIK_TIMEOUT_ODBIORU;
            dekoder_.dodaj(bufor, static_cast<std::size_t>(n));
            ramka::Ramka r;
            while (dekoder_.nastepna(r)) {
                if (!r.poprawna) {
                    cokolwiek = ponow = true;
                    break;
                }
                if (r.typ == ramka::NAK)
                    return WYNIK_NAK;
                if (r.typ == ramka::KANAL && r.dane.size() == 2 && r.dane[0] == kanal)
                    return r.dane[1] == 0 ? 0 : WYNIK_ZLA_ODPOWIEDZ;
                cokolwiek = true; // a frame that does not answer the selection
            }
        }
    }
    return WYNIK_ZLA_ODPOWIEDZ;
}

std::uint8_t Lacze::wymiana(const std::vector<std::uint8_t>& zapytanie,
                            std::vector<std::uint8_t>& odpowiedz,
                            const std::function<bool(const std::vector<std::uint8_t>&)>& nasza) {
    odpowiedz.clear();
    if (!port_.otwarty())
        return protokol::WYNIK_PORT;
    // Leftovers of an abandoned exchange must not be taken for this reply.
    dekoder_.wyczysc();
    port_.oproznijWejscie();

    protokol::Nadawca nadawca;
    protokol::Odbiorca odbiorca;
    nadawca.zacznij(zapytanie);
    odbiorca.zacznij();
    bool zapytanieDoszlo = false;
    bool zleBajty = false; // garbage or bad frames seen in this exchange
    std::size_t odrzuconeDotad = 0;
    // The timeout counts from the last step forward (a block taken, a frame of the request
    // acknowledged). A frame still arriving gets at most one longest frame's line time more,
    // so neither a long frame at a slow speed is cut off nor a babbling line holds the caller.
    const auto timeout = std::chrono::milliseconds(timeoutMs_);
    const auto czasRamki = std::chrono::milliseconds(
        (ramka::MAKS_DANYCH + ramka::NARZUT) * 10 * 1000 / static_cast<std::size_t>(baud_) + 1);
    auto termin = Zegar::now() + timeout;
    // However the line behaves, the exchange ends: the timeout for every try of a frame plus
    // twice the line time of the largest message there can be.
    const auto czasNajwiekszej = std::chrono::milliseconds(
        (protokol::MAKS_WIADOMOSCI / ramka::MAKS_DANYCH + 1) *
        (ramka::MAKS_DANYCH + ramka::NARZUT) * 10 * 1000 / static_cast<std::size_t>(baud_));
    const auto ostatecznie =
        Zegar::now() + timeout * (protokol::MAKS_POWTORZEN + 1) + 2 * czasNajwiekszej;
    // The longest the reply has been: only growth beyond it is progress, so a peer that
    // starts its reply again and again cannot hold the exchange.
    std::size_t najdluzsza = 0;
    Zegar::time_point ostatnieSmieci{};
    bool czekaNaCisze = false;
    std::vector<std::uint8_t> doWyslania;
    // A request the other side could not read (no acknowledgement), or whose reply was lost
    // (acknowledged, nothing came), is sent again while nothing of a reply has come: at most
    // MAKS_POWTORZEN times and within the timeout, so a dead line still ends with it.
    const auto czasZapytania = std::chrono::milliseconds((zapytanie.size() + ramka::NARZUT) * 10 *
                                                         1000 / static_cast<std::size_t>(baud_));
    const auto odstep = [&] {
        const auto czesc = zapytanieDoszlo ? timeout / 2 : timeout / (protokol::MAKS_POWTORZEN + 1);
        return std::max<Zegar::duration>(czesc, 2 * czasZapytania + std::chrono::milliseconds(200));
    };
    auto ponowZapytanie = Zegar::now() + odstep();
    int ponowienia = 0;

    for (;;) {
        if (!zapytanieDoszlo) {
            for (const auto& r : nadawca.doWyslania())
                if (std::uint8_t w = wyslij(r))
                    return w;
        }
        const auto teraz = Zegar::now();
        const bool mozePonowic = ponowienia < protokol::MAKS_POWTORZEN &&
                                 odbiorca.stan() == protokol::Odbiorca::Stan::Czeka &&
                                 !dekoder_.wTrakcie();
        if (mozePonowic && teraz >= ponowZapytanie) {
            ++ponowienia;
            nadawca.zacznij(zapytanie);
            zapytanieDoszlo = false;
            ponowZapytanie = teraz + odstep();
            continue;
        }
        const auto koniec =
            std::min(dekoder_.wTrakcie() ? termin + czasRamki : termin, ostatecznie);
        if (teraz >= koniec)
            return zleBajty ? WYNIK_ZLA_ODPOWIEDZ : WYNIK_TIMEOUT_ODBIORU;
        int czekaj = doMs(koniec);
        if (mozePonowic)
            czekaj = std::min(czekaj, doMs(ponowZapytanie));
        if (czekaNaCisze) {
            const int doCiszy =
                doMs(ostatnieSmieci + std::chrono::milliseconds(protokol::CISZA_PO_SMIECIACH_MS));
            czekaj = std::min(czekaj, doCiszy);
        }
        std::uint8_t bufor[4096];
        const long n = port_.czytaj(bufor, sizeof bufor, std::max(czekaj, 1));
        if (n < 0)
            return WYNIK_TIMEOUT_ODBIORU;
        if (n == 0) {
            if (czekaNaCisze && zapytanieDoszlo &&
                Zegar::now() >=
                    ostatnieSmieci + std::chrono::milliseconds(protokol::CISZA_PO_SMIECIACH_MS)) {
                czekaNaCisze = false;
                doWyslania.clear();
                if (odbiorca.cisza(doWyslania) == protokol::Odbiorca::Stan::ZaDuzoBledow)
                    return WYNIK_ZLA_ODPOWIEDZ;
                if (wyslij(doWyslania))
                    return WYNIK_TIMEOUT_ODBIORU;
            }
            continue;
        }
        dekoder_.dodaj(bufor, static_cast<std::size_t>(n));
        ramka::Ramka r;
        doWyslania.clear();
        bool postep = false;
        while (dekoder_.nastepna(r)) {
            if (!r.poprawna)
                zleBajty = true;
            if (r.typ == ramka::ACK || r.typ == ramka::NAK) {
                if (zapytanieDoszlo)
                    continue;
                const std::size_t przed = nadawca.potwierdzone();
                (void)nadawca.potwierdzenie(r); // frames are written at once, none is waiting
                if (nadawca.stan() == protokol::Nadawca::Stan::ZaDuzoNak)
                    return WYNIK_NAK;
                postep |= nadawca.potwierdzone() > przed;
                if (nadawca.stan() == protokol::Nadawca::Stan::Gotowe)
                    zapytanieDoszlo = true;
                continue;
            }
            if (!ramka::typDanych(r.typ))
                continue;
            // The first block of the reply (even a damaged one) acknowledges the request.
            if (!zapytanieDoszlo && (ramka::typPoczatku(r.typ) || !r.poprawna)) {
                nadawca.wszystkoDoszlo();
                zapytanieDoszlo = true;
            }
            if (!zapytanieDoszlo)
                continue;
            const std::size_t przed = odbiorca.wiadomosc().size();
            const auto stanPrzed = odbiorca.stan();
            // A message begun again is no reply the register would send.
            if (stanPrzed == protokol::Odbiorca::Stan::WToku && r.poprawna &&
                ramka::typPoczatku(r.typ) && r.nr == 0)
                zleBajty = true;
            const auto stan = odbiorca.ramka(r, doWyslania);
            if (stan == protokol::Odbiorca::Stan::ZaDuzoBledow ||
                stan == protokol::Odbiorca::Stan::ZaDluga)
                return WYNIK_ZLA_ODPOWIEDZ;
            if (naOdbior && odbiorca.wiadomosc().size() > przed)
                naOdbior(odbiorca.wiadomosc());
            if (stan == protokol::Odbiorca::Stan::Kompletna && nasza &&
                !nasza(odbiorca.wiadomosc())) {
                // Another exchange's reply, come late: acknowledged (its sender stops) and
                // dropped; this exchange's reply is still to come.
                zleBajty = true;
                odbiorca.zacznij();
                najdluzsza = 0;
                continue;
            }
            if (stan == protokol::Odbiorca::Stan::Kompletna) {
                // The last ACK; a failure here does not undo a complete reply.
                (void)wyslij(doWyslania);
                odpowiedz = std::move(odbiorca.wiadomosc());
                return 0;
            }
            if (odbiorca.wiadomosc().size() > najdluzsza) {
                najdluzsza = odbiorca.wiadomosc().size();
                postep = true;
            }
            postep |= stanPrzed == protokol::Odbiorca::Stan::Czeka &&
                      stan == protokol::Odbiorca::Stan::WToku;
        }
        // Acknowledgements go out only while the reply comes in: a line that fails under them
        // is a reply that stopped arriving, whichever of the two the line noticed first.
        if (!doWyslania.empty() && wyslij(doWyslania))
            return WYNIK_TIMEOUT_ODBIORU;
        if (dekoder_.odrzucone() != odrzuconeDotad) {
            odrzuconeDotad = dekoder_.odrzucone();
            zleBajty = true;
            czekaNaCisze = true;
            ostatnieSmieci = Zegar::now();
        }
        if (postep) {
            termin = Zegar::now() + timeout;
            ponowZapytanie = Zegar::now() + odstep();
            czekaNaCisze = false;
        }
    }
}

std::uint8_t Lacze::rozkaz(std::uint8_t kod, const std::vector<std::uint8_t>& argumenty,
                           std::vector<std::uint8_t>& dane) {
    dane.clear();
    const std::uint8_t nr = ++nrWymiany_;
    std::vector<std::uint8_t> zapytanie;
    zapytanie.reserve(2 + argumenty.size());
    zapytanie.push_back(nr);
    zapytanie.push_back(kod);
    zapytanie.insert(zapytanie.end(), argumenty.begin(), argumenty.end());
    std::vector<std::uint8_t> odp;
    const auto nasza = [nr](const std::vector<std::uint8_t>& m) {
        return !m.empty() && m[0] == nr;
    };
    if (std::uint8_t w = wymiana(zapytanie, odp, nasza))
        return w;
    if (odp.size() < protokol::NAGLOWEK_ODPOWIEDZI || odp[1] != kod)
        return WYNIK_ZLA_ODPOWIEDZ;
    if (odp[3] != 0)
        return odp[3];
    if (std::uint8_t w = protokol::kodZeStatusu(odp[2]))
        return w;
    dane.assign(odp.begin() + protokol::NAGLOWEK_ODPOWIEDZI, odp.end());
    return 0;
}

// --- KlientKasyLacze ---

std::uint8_t KlientKasyLacze::identyfikacja(std::uint8_t& bajt) {
    std::vector<std::uint8_t> d;
    if (std::uint8_t w = lacze_->rozkaz(protokol::ROZKAZ_IDENTYFIKACJA, {}, d))
        return w;
    if (d.empty())
        return WYNIK_ZLA_ODPOWIEDZ;
    bajt = d[0];
    return 0;
}

std::uint8_t KlientKasyLacze::numerKasy(std::string& numer) {
    std::vector<std::uint8_t> d;
    if (std::uint8_t w = lacze_->rozkaz(protokol::ROZKAZ_NUMER_KASY, {}, d))
        return w;
    if (d.size() < 2)
        return WYNIK_ZLA_ODPOWIEDZ;
    numer.assign(d.begin(), d.begin() + 2);
    return 0;
}

std::uint8_t KlientKasyLacze::rozkazListy(std::uint8_t kod, protokol::LicznikPozycji::Lista lista,
                                          std::vector<std::uint8_t>& dane) {
    if (!postep)
        return lacze_->rozkaz(kod, {}, dane);
    protokol::LicznikPozycji licznik(lista);
    lacze_->naOdbior = [&](const std::vector<std::uint8_t>& czesc) {
        if (licznik.dalej(czesc))
            postep(licznik.zrobione(), licznik.calosc());
    };
    const std::uint8_t w = lacze_->rozkaz(kod, {}, dane);
    lacze_->naOdbior = nullptr;
    return w;
}

std::uint8_t KlientKasyLacze::czytajDefinicje(std::vector<DefinicjaNaKasie>& definicje) {
    std::vector<std::uint8_t> d;
    if (std::uint8_t w = rozkazListy(protokol::ROZKAZ_CZYTAJ_DEFINICJE,
                                     protokol::LicznikPozycji::Lista::Definicje, d))
        return w;
    if (!protokol::dekodujDefinicje(d.data(), d.data() + d.size(), definicje))
        return WYNIK_ZLA_ODPOWIEDZ;
    return 0;
}

std::uint8_t KlientKasyLacze::zapiszDefinicje(const std::vector<DefinicjaNaKasie>& definicje) {
    std::vector<std::uint8_t> arg, d;
    protokol::kodujDefinicje(definicje, arg);
    return lacze_->rozkaz(protokol::ROZKAZ_ZAPISZ_DEFINICJE, arg, d);
}

std::uint8_t KlientKasyLacze::skasujDefinicje(const std::vector<std::uint8_t>& kody) {
    std::vector<std::uint8_t> d;
    return lacze_->rozkaz(protokol::ROZKAZ_KASUJ_DEFINICJE, kody, d);
}

std::uint8_t KlientKasyLacze::czytajNazwy(std::uint8_t kod, std::size_t ile,
                                          std::vector<std::string>& nazwy) {
    std::vector<std::uint8_t> d;
    if (std::uint8_t w = rozkazListy(kod, protokol::LicznikPozycji::Lista::Nazwy, d))
        return w;
    if (!protokol::dekodujNazwy(d.data(), d.data() + d.size(), nazwy) ||
        (ile != 0 && nazwy.size() != ile))
        return WYNIK_ZLA_ODPOWIEDZ;
    return 0;
}

std::uint8_t KlientKasyLacze::czytajTowary(std::vector<TowarNaKasie>& towary) {
    std::vector<std::string> nazwy;
    towary.clear();
    if (std::uint8_t w = czytajNazwy(protokol::ROZKAZ_CZYTAJ_TOWARY, 0, nazwy))
        return w;
    if (nazwy.size() > protokol::LICZBA_TOWAROW)
        return WYNIK_ZLA_ODPOWIEDZ;
    towary.reserve(nazwy.size());
    for (std::size_t i = 0; i < nazwy.size(); ++i)
        towary.push_back({static_cast<std::uint16_t>(i + 1), std::move(nazwy[i])});
    return 0;
}

std::uint8_t KlientKasyLacze::czytajPlatnosci(std::vector<std::string>& nazwy) {
    return czytajNazwy(protokol::ROZKAZ_CZYTAJ_PLATNOSCI, protokol::LICZBA_PLATNOSCI, nazwy);
}

std::uint8_t KlientKasyLacze::czytajWaluty(std::vector<std::string>& nazwy) {
    return czytajNazwy(protokol::ROZKAZ_CZYTAJ_WALUTY, protokol::LICZBA_WALUT, nazwy);
}

std::uint8_t polaczZKasa(const ParametryLacza& p, std::unique_ptr<KlientKasy>& klient,
                         std::string* powod) {
    klient.reset();
    auto lacze = std::make_unique<Lacze>();
    std::string tekst;
    if (std::uint8_t w = lacze->otworz(p.katalog, p.port, p.baud, p.timeoutSek, tekst)) {
        if (powod)
            *powod = tekst;
        return w;
    }
    if (p.multiplekser > 0) {
        if (std::uint8_t w = lacze->wybierzKanal(p.kanal)) {
            if (powod)
                *powod = "Multiplekser nie wybrał kanału " + std::to_string(p.kanal) + ".";
            return w;
        }
    }
    klient = std::make_unique<KlientKasyLacze>(std::move(lacze));
    return 0;
}

} // namespace pixo
