#include "link/common/Protokol.h"

#include <algorithm>

namespace pixo::protokol {

std::uint8_t kodZeStatusu(std::uint8_t status) {
    if (status & 0x40)
        return 255;
    const unsigned s = status & 0x3F;
    if (s <= 25)
        return static_cast<std::uint8_t>(s);
    if (s <= 30)
        return static_cast<std::uint8_t>(s + 75);
    if (s <= 39)
        return static_cast<std::uint8_t>(s + 76);
    if (s <= 50)
        return static_cast<std::uint8_t>(s + 160);
    if (s == 63)
        return 211;
    return 255;
}

std::vector<std::uint8_t> odpowiedz(std::uint8_t rozkaz, std::uint8_t status,
                                    std::uint8_t bladKlawisza,
                                    const std::vector<std::uint8_t>& dane) {
    std::vector<std::uint8_t> w;
    w.reserve(3 + dane.size());
    w.push_back(rozkaz);
    w.push_back(status);
    w.push_back(bladKlawisza);
    w.insert(w.end(), dane.begin(), dane.end());
    return w;
}

// --- Nadawca ---

void Nadawca::zacznij(std::vector<std::uint8_t> wiadomosc) {
    wiadomosc_ = std::move(wiadomosc);
    liczbaRamek_ =
        std::max<std::size_t>(1, (wiadomosc_.size() + ramka::MAKS_DANYCH - 1) / ramka::MAKS_DANYCH);
    baza_ = 0;
    nastepna_ = 0;
    nakDla_ = SIZE_MAX;
    powtorzenia_ = 0;
    stan_ = Stan::WToku;
}

std::vector<std::vector<std::uint8_t>> Nadawca::doWyslania() {
    std::vector<std::vector<std::uint8_t>> w;
    if (stan_ != Stan::WToku)
        return w;
    while (nastepna_ < liczbaRamek_ && nastepna_ < baza_ + OKNO) {
        const std::size_t i = nastepna_++;
        const std::size_t od = i * ramka::MAKS_DANYCH;
        const std::size_t ile = std::min(ramka::MAKS_DANYCH, wiadomosc_.size() - od);
        const bool pierwsza = i == 0, ostatnia = i + 1 == liczbaRamek_;
        const std::uint8_t typ = pierwsza && ostatnia ? ramka::JEDYNA
                                 : pierwsza           ? ramka::POCZATEK
                                 : ostatnia           ? ramka::KONIEC
                                                      : ramka::BLOK;
        std::vector<std::uint8_t> r;
        r.reserve(ramka::NARZUT + ile);
        ramka::koduj(typ, static_cast<std::uint8_t>(i & 0xFF), wiadomosc_.data() + od, ile, r);
        w.push_back(std::move(r));
    }
    return w;
}

std::size_t Nadawca::bezwzgledny(std::uint8_t nr) const {
    return baza_ + static_cast<std::uint8_t>(nr - static_cast<std::uint8_t>(baza_ & 0xFF));
}

bool Nadawca::potwierdzenie(const ramka::Ramka& r) {
    if (stan_ != Stan::WToku || !r.poprawna)
        return false;
    const std::size_t i = bezwzgledny(r.nr);
    if (r.typ == ramka::ACK) {
        if (i < nastepna_) {
            baza_ = i + 1;
            if (baza_ >= liczbaRamek_)
                stan_ = Stan::Gotowe;
        }
        return false;
    }
    if (r.typ != ramka::NAK || i > nastepna_)
        return false;
    baza_ = i;
    if (baza_ >= liczbaRamek_) { // the receiver holds everything already
        stan_ = Stan::Gotowe;
        return false;
    }
    if (i == nakDla_) {
        if (++powtorzenia_ > MAKS_POWTORZEN) {
            stan_ = Stan::ZaDuzoNak;
            return false;
        }
    } else {
        nakDla_ = i;
        powtorzenia_ = 1;
    }
    nastepna_ = i;
    return true;
}

void Nadawca::wszystkoDoszlo() {
    if (stan_ == Stan::WToku) {
        baza_ = nastepna_ = liczbaRamek_;
        stan_ = Stan::Gotowe;
    }
}

// --- Odbiorca ---

void Odbiorca::zacznij() {
    wiadomosc_.clear();
    oczekiwany_ = 0;
    bledy_ = 0;
    nakWyslany_ = false;
    stan_ = Stan::Czeka;
}

Odbiorca::Stan Odbiorca::nak(std::vector<std::uint8_t>& doWyslania) {
    if (++bledy_ > MAKS_POWTORZEN) {
        stan_ = Stan::ZaDuzoBledow;
        return stan_;
    }
    nakWyslany_ = true;
    ramka::koduj(ramka::NAK, oczekiwany_, nullptr, 0, doWyslania);
    return stan_;
}

Odbiorca::Stan Odbiorca::ramka(const ramka::Ramka& r, std::vector<std::uint8_t>& doWyslania) {
    if (!ramka::typDanych(r.typ))
        return stan_;
    if (r.poprawna && ramka::typPoczatku(r.typ) && r.nr == 0)
        zacznij(); // a new message, whatever came before
    if (stan_ != Stan::Czeka && stan_ != Stan::WToku)
        return stan_;
    if (!r.poprawna) {
        if (r.nr == oczekiwany_ || !nakWyslany_)
            return nak(doWyslania);
        return stan_;
    }
    // Frame numbers wrap after 256 frames: whether the message has begun is its own fact, not
    // a number above 0 (frame 256 is a middle block numbered 0, not a new start).
    if (r.nr == oczekiwany_ && (stan_ == Stan::WToku || ramka::typPoczatku(r.typ))) {
        wiadomosc_.insert(wiadomosc_.end(), r.dane.begin(), r.dane.end());
        ramka::koduj(ramka::ACK, r.nr, nullptr, 0, doWyslania);
        ++oczekiwany_;
        bledy_ = 0;
        nakWyslany_ = false;
        if (wiadomosc_.size() > MAKS_WIADOMOSCI)
            stan_ = Stan::ZaDluga;
        else if (r.typ == ramka::KONIEC || r.typ == ramka::JEDYNA)
            stan_ = Stan::Kompletna;
        else
            stan_ = Stan::WToku;
        return stan_;
    }
    if (stan_ == Stan::Czeka)
        return stan_; // the tail of some earlier message: not ours to answer
    const std::uint8_t wstecz = static_cast<std::uint8_t>(oczekiwany_ - r.nr);
    if (wstecz >= 1 && wstecz <= OKNO) { // a repetition of a frame already held
        ramka::koduj(ramka::ACK, static_cast<std::uint8_t>(oczekiwany_ - 1), nullptr, 0,
                     doWyslania);
        return stan_;
    }
    if (!nakWyslany_)
        return nak(doWyslania);
    return stan_;
}

Odbiorca::Stan Odbiorca::cisza(std::vector<std::uint8_t>& doWyslania) {
    if (stan_ != Stan::Czeka && stan_ != Stan::WToku)
        return stan_;
    return nak(doWyslania);
}

// --- payloads ---

void dopiszLiczbe(std::vector<std::uint8_t>& w, std::int64_t v) {
    std::uint64_t z = (static_cast<std::uint64_t>(v) << 1) ^ static_cast<std::uint64_t>(v >> 63);
    do {
        std::uint8_t b = z & 0x7F;
        z >>= 7;
        if (z)
            b |= 0x80;
        w.push_back(b);
    } while (z);
}

bool czytajLiczbe(const std::uint8_t*& p, const std::uint8_t* koniec, std::int64_t& v) {
    std::uint64_t z = 0;
    for (int przesuniecie = 0; przesuniecie < 70; przesuniecie += 7) {
        if (p >= koniec)
            return false;
        const std::uint8_t b = *p++;
        if (przesuniecie == 63 && (b & 0x7E))
            return false; // more than 64 bits
        z |= static_cast<std::uint64_t>(b & 0x7F) << przesuniecie;
        if (!(b & 0x80)) {
            v = static_cast<std::int64_t>((z >> 1) ^ (~(z & 1) + 1));
            return true;
        }
    }
    return false;
}

bool LicznikPozycji::dalej(const std::vector<std::uint8_t>& w) {
    const std::uint8_t* const poczatek = w.data();
    const std::uint8_t* const koniec = poczatek + w.size();
    bool zmiana = false;
    if (!znanaCalosc_) {
        // The reply's header, then the count: 16 bits for names, 8 for definitions.
        const std::size_t d = NAGLOWEK_ODPOWIEDZI;
        const std::size_t naglowek = d + (lista_ == Lista::Nazwy ? 2 : 1);
        if (w.size() < naglowek)
            return false;
        calosc_ = lista_ == Lista::Nazwy ? unsigned(w[d] | (w[d + 1] << 8)) : unsigned(w[d]);
        pozycja_ = naglowek;
        znanaCalosc_ = zmiana = true;
    }
    while (zrobione_ < calosc_) {
        const std::uint8_t* p = poczatek + pozycja_;
        if (lista_ == Lista::Nazwy) {
            if (p >= koniec || static_cast<std::size_t>(koniec - p - 1) < *p)
                break;
            p += 1 + *p;
        } else {
            if (koniec - p < 2)
                break;
            p += 2;
            std::int64_t v = 0;
            bool cala = true;
            for (int i = 0; i < 4 && cala; ++i)
                cala = czytajLiczbe(p, koniec, v);
            if (!cala)
                break;
        }
        pozycja_ = static_cast<std::size_t>(p - poczatek);
        ++zrobione_;
        zmiana = true;
    }
    return zmiana;
}

void kodujDefinicje(const std::vector<DefinicjaNaKasie>& d, std::vector<std::uint8_t>& w) {
    w.push_back(static_cast<std::uint8_t>(std::min<std::size_t>(d.size(), 255)));
    for (std::size_t i = 0; i < d.size() && i < 255; ++i) {
        w.push_back(d[i].kod);
        w.push_back(d[i].typ);
        for (std::int64_t pole : d[i].pola)
            dopiszLiczbe(w, pole);
    }
}

bool dekodujDefinicje(const std::uint8_t* p, const std::uint8_t* koniec,
                      std::vector<DefinicjaNaKasie>& d) {
    d.clear();
    if (p >= koniec)
        return false;
    const unsigned ile = *p++;
    for (unsigned i = 0; i < ile; ++i) {
        DefinicjaNaKasie x;
        if (koniec - p < 2)
            return false;
        x.kod = *p++;
        x.typ = *p++;
        for (std::int64_t& pole : x.pola)
            if (!czytajLiczbe(p, koniec, pole))
                return false;
        d.push_back(x);
    }
    return p == koniec;
}

void kodujNazwy(const std::vector<std::string>& nazwy, std::vector<std::uint8_t>& w) {
    const std::size_t ile = std::min<std::size_t>(nazwy.size(), 0xFFFF);
    w.push_back(static_cast<std::uint8_t>(ile & 0xFF));
    w.push_back(static_cast<std::uint8_t>(ile >> 8));
    for (std::size_t i = 0; i < ile; ++i) {
        const std::size_t n = std::min<std::size_t>(nazwy[i].size(), 255);
        w.push_back(static_cast<std::uint8_t>(n));
        w.insert(w.end(), nazwy[i].begin(), nazwy[i].begin() + static_cast<std::ptrdiff_t>(n));
    }
}

bool dekodujNazwy(const std::uint8_t* p, const std::uint8_t* koniec,
                  std::vector<std::string>& nazwy) {
    nazwy.clear();
    if (koniec - p < 2)
        return false;
    const unsigned ile = p[0] | (p[1] << 8);
    p += 2;
    nazwy.reserve(ile);
    for (unsigned i = 0; i < ile; ++i) {
        if (p >= koniec)
            return false;
        const unsigned n = *p++;
        if (static_cast<std::size_t>(koniec - p) < n)
            return false;
        nazwy.emplace_back(reinterpret_cast<const char*>(p), n);
        p += n;
    }
    return p == koniec;
}

} // namespace pixo::protokol
