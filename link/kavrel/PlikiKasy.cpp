#include "link/kavrel/PlikiKasy.h"

#include "link/kavrel/Wspolne.h"

#include <algorithm>
#include <bitset>
#include <map>

namespace pixo::kavrel {

const std::array<std::uint8_t, 28> KodyKlawiszy = {
    176, 65, 164, 214, // key 0: direct, left Alt, right Alt, both Alts
    177, 66, 38,  215, //
    178, 67, 143, 216, //
    179, 68, 37,  217, //
    180, 69, 168, 218, //
    71,  41,           // keys 5 to 8: left Alt, right Alt
    72,  45,           //
    73,  43,           //
    74,  61,           //
};

bool kodKlawisza(std::int64_t kod) {
    return std::find(KodyKlawiszy.begin(), KodyKlawiszy.end(), kod) != KodyKlawiszy.end();
}

namespace {

constexpr std::size_t MaksRozmiarWejscia = 64 * 1024;
constexpr std::int64_t MaksPlu = 3071;

const std::string RN = "\r\n";

// Reads the file and its header; `tresc` gets the lines after the header without the empty
// lines that close the file.
std::uint8_t czytajNaglowek(const std::string& sciezka, int& nrKasy,
                            std::vector<std::string>& tresc) {
    std::vector<std::string> linie;
    switch (czytajLinie(sciezka, MaksRozmiarWejscia, linie)) {
    case WynikCzytania::NieOtwarto:
        return kod::NieOtwartoWejscia;
    case WynikCzytania::ZaDuzy:
    case WynikCzytania::ZlyZnak:
    case WynikCzytania::ZaDlugaLinia:
        return kod::FormatWejscia;
    case WynikCzytania::Ok:
        break;
    }
    while (!linie.empty() && linie.back().empty())
        linie.pop_back();
    if (linie.size() < 3)
        return kod::NiekompletneWejscie;
    for (int i = 0; i < 3; ++i)
        if (linie[static_cast<std::size_t>(i)].empty() ||
            linie[static_cast<std::size_t>(i)].front() != '#')
            return kod::FormatWejscia;
    std::int64_t nr = 0;
    if (liczba(bezOdstepow(std::string_view(linie[0]).substr(1)), nr) != WynikLiczby::Ok ||
        nr < 1 || nr > 99)
        return kod::NumerKasyPozaZakresem;
    nrKasy = static_cast<int>(nr);
    tresc.assign(linie.begin() + 3, linie.end());
    return kod::Ok;
}

// A number field: 11 when it is no number, 12 when outside [od, do_].
std::uint8_t pole(std::string_view tekst, std::int64_t od, std::int64_t do_, std::int64_t& w) {
    switch (liczba(tekst, w)) {
    case WynikLiczby::NieLiczba:
        return kod::FormatWejscia;
    case WynikLiczby::PozaZakresem:
        return kod::DaneWejscia;
    case WynikLiczby::Ok:
        break;
    }
    return (w < od || w > do_) ? kod::DaneWejscia : kod::Ok;
}

// "$<code>": 11 when not of that form, 12 when no definable key has that code.
std::uint8_t kodZPola(std::string_view tekst, std::uint8_t& kodKl) {
    if (tekst.size() < 2 || tekst.front() != '$')
        return kod::FormatWejscia;
    std::int64_t w = 0;
    if (const std::uint8_t k = pole(tekst.substr(1), 0, 255, w); k != kod::Ok)
        return k;
    if (!kodKlawisza(w))
        return kod::DaneWejscia;
    kodKl = static_cast<std::uint8_t>(w);
    return kod::Ok;
}

int ilePolTypu(std::uint8_t typ) {
    static constexpr int ile[6] = {0, 4, 1, 3, 4, 4};
    return typ < 6 ? ile[typ] : 0;
}

std::string naglowek(int nrKasy) {
    return "#" + std::to_string(nrKasy) + RN + "#" + RN + "#" + RN;
}

// A name taken over byte for byte must not break its line: no control byte, and the whole
// line within 255 characters.
bool nazwaDoLinii(const std::string& nazwa, std::size_t przedNazwa) {
    if (przedNazwa + nazwa.size() > MaksDlugoscLinii)
        return false;
    for (unsigned char z : nazwa)
        if (z < 0x20 || z == 0x7f)
            return false;
    return true;
}

} // namespace

std::uint8_t czytajZadanie(const std::string& sciezka, int& nrKasy) {
    std::vector<std::string> tresc;
    if (const std::uint8_t k = czytajNaglowek(sciezka, nrKasy, tresc); k != kod::Ok)
        return k;
    return tresc.empty() ? kod::Ok : kod::FormatWejscia;
}

std::uint8_t czytajListeKasowania(const std::string& sciezka, int& nrKasy,
                                  std::vector<std::uint8_t>& kody) {
    std::vector<std::string> tresc;
    if (const std::uint8_t k = czytajNaglowek(sciezka, nrKasy, tresc); k != kod::Ok)
        return k;
    std::vector<std::uint8_t> wynik;
    std::bitset<256> byl;
    for (const std::string& linia : tresc) {
        std::uint8_t kodKl = 0;
        if (const std::uint8_t k = kodZPola(bezOdstepow(linia), kodKl); k != kod::Ok)
            return k;
        if (!byl.test(kodKl))
            wynik.push_back(kodKl);
        byl.set(kodKl);
    }
    kody = std::move(wynik);
    return kod::Ok;
}

std::uint8_t sprawdzDefinicje(const DefinicjaNaKasie& d) {
    if (!kodKlawisza(d.kod))
        return kod::DaneWejscia;
    const auto w = [&](int i, std::int64_t od, std::int64_t do_) {
        return d.pola[i] >= od && d.pola[i] <= do_;
    };
    constexpr std::int64_t MaksKwota = INT64_MAX;
    bool dobra = false;
    switch (d.typ) {
    case 0:
        dobra = true;
        break;
    case 1:
        dobra = w(0, 1, MaksPlu) && w(1, 0, 1) && w(2, 0, 1) && w(3, 0, 1);
        break;
    case 2:
        dobra = w(0, 1, 40);
        break;
    case 3:
        dobra = w(1, 0, MaksKwota) && w(2, 0, 1) && w(0, 1, d.pola[2] == 1 ? 8 : 7);
        break;
    case 4:
        dobra = w(0, 0, 1) && w(1, 1, 99) && w(2, 0, 1) && w(3, 0, 1);
        break;
    case 5:
        dobra = w(0, 0, 1) && w(1, 0, MaksKwota) && w(2, 0, 1) && w(3, 0, 1);
        break;
    default:
        break;
    }
    return dobra ? kod::Ok : kod::DaneWejscia;
}

std::uint8_t czytajLinieDefinicji(std::string_view linia, DefinicjaNaKasie& definicja) {
    const std::vector<std::string_view> p = pola(linia);
    DefinicjaNaKasie d;
    std::uint8_t kodKl = 0;
    if (const std::uint8_t k = kodZPola(p[0], kodKl); k != kod::Ok)
        return k;
    d.kod = kodKl;
    if (p.size() < 2)
        return kod::FormatWejscia;
    std::int64_t typ = 0;
    if (const std::uint8_t k = pole(p[1], 0, 5, typ); k != kod::Ok)
        return k;
    d.typ = static_cast<std::uint8_t>(typ);
    const std::size_t uzyte = 2 + static_cast<std::size_t>(ilePolTypu(d.typ));
    if (p.size() < uzyte)
        return kod::FormatWejscia;
    for (std::size_t i = uzyte; i < p.size(); ++i)
        if (!p[i].empty())
            return kod::FormatWejscia;
    // Form first, for every field; then the values as a register checks them.
    for (std::size_t i = 2; i < uzyte; ++i) {
        if (liczba(p[i], d.pola[i - 2]) == WynikLiczby::NieLiczba)
            return kod::FormatWejscia;
    }
    for (std::size_t i = 2; i < uzyte; ++i) {
        if (liczba(p[i], d.pola[i - 2]) == WynikLiczby::PozaZakresem)
            return kod::DaneWejscia;
    }
    if (const std::uint8_t k = sprawdzDefinicje(d); k != kod::Ok)
        return k;
    definicja = d;
    return kod::Ok;
}

std::uint8_t czytajPlikDefinicji(const std::string& sciezka, int& nrKasy,
                                 std::vector<DefinicjaNaKasie>& definicje) {
    std::vector<std::string> tresc;
    if (const std::uint8_t k = czytajNaglowek(sciezka, nrKasy, tresc); k != kod::Ok)
        return k;
    std::vector<DefinicjaNaKasie> wynik;
    std::bitset<256> byl;
    for (const std::string& linia : tresc) {
        DefinicjaNaKasie d;
        if (const std::uint8_t k = czytajLinieDefinicji(linia, d); k != kod::Ok)
            return k;
        // Two meanings for one key: which one the user wanted cannot be told.
        if (byl.test(d.kod))
            return kod::DaneWejscia;
        byl.set(d.kod);
        wynik.push_back(d);
    }
    definicje = std::move(wynik);
    return kod::Ok;
}

std::string liniaDefinicji(const DefinicjaNaKasie& d) {
    std::string s = "$" + std::to_string(d.kod) + "\t" + std::to_string(d.typ);
    const auto dopisz = [&](int ile) {
        for (int i = 0; i < ile; ++i)
            s += "\t" + std::to_string(d.pola[i]);
    };
    switch (d.typ) {
    case 2:
        dopisz(1);
        s += "\t";
        break;
    case 3:
        dopisz(3);
        break;
    case 1:
    case 4:
    case 5:
        dopisz(4);
        break;
    default:
        break;
    }
    return s;
}

std::uint8_t tekstDefinicji(int nrKasy, const std::vector<DefinicjaNaKasie>& definicje,
                            std::string& tekst) {
    std::map<std::uint8_t, DefinicjaNaKasie> wgKodu;
    for (const DefinicjaNaKasie& d : definicje) {
        if (sprawdzDefinicje(d) != kod::Ok || !wgKodu.emplace(d.kod, d).second)
            return kod::NiepoprawnaOdpowiedz;
    }
    std::string t = naglowek(nrKasy);
    for (std::uint8_t kodKl : KodyKlawiszy) {
        DefinicjaNaKasie d;
        d.kod = kodKl; // a key the register did not name is undefined
        if (const auto it = wgKodu.find(kodKl); it != wgKodu.end())
            d = it->second;
        t += liniaDefinicji(d) + RN;
    }
    tekst = std::move(t);
    return kod::Ok;
}

std::uint8_t tekstTowarow(int nrKasy, const std::vector<TowarNaKasie>& towary, std::string& tekst) {
    std::map<std::uint16_t, const std::string*> wgPlu;
    for (const TowarNaKasie& t : towary) {
        if (t.plu < 1 || t.plu > MaksPlu || !wgPlu.emplace(t.plu, &t.nazwa).second)
            return kod::NiepoprawnaOdpowiedz;
    }
    std::string t = naglowek(nrKasy);
    for (const auto& [plu, nazwa] : wgPlu) {
        const std::string poczatek = "$" + std::to_string(plu) + "\t";
        if (!nazwaDoLinii(*nazwa, poczatek.size()))
            return kod::NiepoprawnaOdpowiedz;
        // The program stops reading the list at a number without a name, so a goods item
        // without a name (not programmed) is left out instead of hiding all that follow it.
        if (nazwa->empty())
            continue;
        t += poczatek + *nazwa + RN;
    }
    tekst = std::move(t);
    return kod::Ok;
}

std::uint8_t tekstPlatnosci(int nrKasy, const std::vector<std::string>& nazwy, std::string& tekst) {
    if (nazwy.size() != 6)
        return kod::NiepoprawnaOdpowiedz;
    std::string t = naglowek(nrKasy);
    for (std::size_t k = 0; k < nazwy.size(); ++k) {
        const std::string poczatek = "$" + std::to_string(k + 1) + "\t";
        if (!nazwaDoLinii(nazwy[k], poczatek.size()))
            return kod::NiepoprawnaOdpowiedz;
        t += poczatek + nazwy[k] + RN;
    }
    tekst = std::move(t);
    return kod::Ok;
}

std::uint8_t tekstWalut(int nrKasy, const std::vector<std::string>& nazwy, std::string& tekst) {
    if (nazwy.size() != 8)
        return kod::NiepoprawnaOdpowiedz;
    std::string t = naglowek(nrKasy);
    for (std::size_t n = 0; n < nazwy.size(); ++n) {
        const std::string numer = std::to_string(n + 1);
        const std::string poczatek = "$" + numer + "\t" + numer + "\t";
        if (!nazwaDoLinii(nazwy[n], poczatek.size()))
            return kod::NiepoprawnaOdpowiedz;
        t += poczatek + nazwy[n] + RN;
    }
    tekst = std::move(t);
    return kod::Ok;
}

} // namespace pixo::kavrel
