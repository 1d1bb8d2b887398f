#include "link/kavrel/Wspolne.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "link/common/OdczytPliku.h"

namespace fs = std::filesystem;

namespace pixo::kavrel {

bool tekstZBufora(const char* bufor, std::string& tekst) {
    if (bufor == nullptr)
        return false;
    const void* zero = std::memchr(bufor, '\0', RozmiarBufora);
    if (zero == nullptr)
        return false;
    tekst.assign(bufor, static_cast<const char*>(zero));
    return true;
}

WynikCzytania czytajLinie(const std::string& sciezka, std::size_t maksBajtow,
                          std::vector<std::string>& linie) {
    linie.clear();
    std::string tresc;
    switch (czytajCalyPlik(sciezka, maksBajtow, tresc)) {
    case WynikOdczytu::Ok:
        break;
    case WynikOdczytu::NieOtwarto:
        return WynikCzytania::NieOtwarto;
    case WynikOdczytu::ZaDuzy:
        return WynikCzytania::ZaDuzy;
    }

    std::string linia;
    for (std::size_t i = 0; i < tresc.size(); ++i) {
        const unsigned char z = static_cast<unsigned char>(tresc[i]);
        if (z == '\n') {
            linie.push_back(std::move(linia));
            linia.clear();
            continue;
        }
        if (z == '\r') {
            if (i + 1 < tresc.size() && tresc[i + 1] == '\n')
                continue;
            return WynikCzytania::ZlyZnak;
        }
        if ((z < 0x20 && z != '\t') || z == 0x7f)
            return WynikCzytania::ZlyZnak;
        if (linia.size() == MaksDlugoscLinii)
            return WynikCzytania::ZaDlugaLinia;
        linia.push_back(static_cast<char>(z));
    }
    if (!linia.empty())
        linie.push_back(std::move(linia));
    return WynikCzytania::Ok;
}

std::vector<std::string_view> pola(std::string_view linia) {
    std::vector<std::string_view> wynik;
    std::size_t poczatek = 0;
    for (;;) {
        const std::size_t tab = linia.find('\t', poczatek);
        if (tab == std::string_view::npos) {
            wynik.push_back(linia.substr(poczatek));
            return wynik;
        }
        wynik.push_back(linia.substr(poczatek, tab - poczatek));
        poczatek = tab + 1;
    }
}

WynikLiczby liczba(std::string_view tekst, std::int64_t& wartosc) {
    std::size_t cyfryOd = (!tekst.empty() && tekst.front() == '-') ? 1 : 0;
    if (tekst.size() == cyfryOd)
        return WynikLiczby::NieLiczba;
    for (std::size_t i = cyfryOd; i < tekst.size(); ++i)
        if (tekst[i] < '0' || tekst[i] > '9')
            return WynikLiczby::NieLiczba;
    const auto [koniec, ec] = std::from_chars(tekst.data(), tekst.data() + tekst.size(), wartosc);
    if (ec == std::errc::result_out_of_range)
        return WynikLiczby::PozaZakresem;
    if (ec != std::errc() || koniec != tekst.data() + tekst.size())
        return WynikLiczby::NieLiczba;
    return WynikLiczby::Ok;
}

std::string_view bezOdstepow(std::string_view tekst) {
    while (!tekst.empty() && tekst.front() == ' ')
        tekst.remove_prefix(1);
    while (!tekst.empty() && tekst.back() == ' ')
        tekst.remove_suffix(1);
    return tekst;
}

std::string plikBezWielkosci(const std::string& nazwa) {
    const fs::path sciezka(nazwa);
    const std::string szukana = sciezka.filename().string();
    const fs::path folder = sciezka.has_parent_path() ? sciezka.parent_path() : fs::path(".");
    const std::optional<std::string> znaleziona = nazwaBezWielkosci(folder.string(), szukana);
    if (!znaleziona || *znaleziona == szukana)
        return nazwa;
    return sciezka.has_parent_path() ? (folder / *znaleziona).string() : *znaleziona;
}

bool nazwaZastrzezona(const std::string& nazwa) {
    const std::string n = fs::path(nazwa).filename().string();
    return rowneBezWielkosci(n, "KONFIG.TXT") || rowneBezWielkosci(n, "RAPORT.TXT");
}

bool tenSamPlik(const std::string& a, const std::string& b) {
    const std::string pa = plikBezWielkosci(a);
    const std::string pb = plikBezWielkosci(b);
    std::error_code ec1, ec2;
    if (fs::exists(pa, ec1) && fs::exists(pb, ec2)) {
        std::error_code ec;
        const bool ten = fs::equivalent(pa, pb, ec);
        if (!ec)
            return ten;
    }
    std::error_code ec;
    const fs::path ka = fs::weakly_canonical(fs::absolute(pa, ec), ec);
    const fs::path kb = fs::weakly_canonical(fs::absolute(pb, ec), ec);
    return rowneBezWielkosci(ka.lexically_normal().string(), kb.lexically_normal().string());
}

} // namespace pixo::kavrel
