#include "link/common/Ramka.h"

#include <algorithm>

namespace pixo::ramka {

bool typZnany(std::uint8_t typ) {
    switch (typ) {
    case ACK:
    case NAK:
    case POCZATEK:
    case BLOK:
    case KONIEC:
    case JEDYNA:
    case KANAL:
        return true;
    default:
        return false;
    }
}

bool typDanych(std::uint8_t typ) {
    return typ == POCZATEK || typ == BLOK || typ == KONIEC || typ == JEDYNA;
}

bool typPoczatku(std::uint8_t typ) {
    return typ == POCZATEK || typ == JEDYNA;
}

std::uint16_t crc16(const std::uint8_t* p, std::size_t n, std::uint16_t crc) {
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= static_cast<std::uint16_t>(p[i]) << 8;
        for (int b = 0; b < 8; ++b)
            crc = (crc & 0x8000) ? static_cast<std::uint16_t>((crc << 1) ^ 0x1021)
                                 : static_cast<std::uint16_t>(crc << 1);
    }
    return crc;
}

std::uint8_t crc8(const std::uint8_t* p, std::size_t n) {
    std::uint8_t crc = 0;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int b = 0; b < 8; ++b)
            crc = (crc & 0x80) ? static_cast<std::uint8_t>((crc << 1) ^ 0x07)
                               : static_cast<std::uint8_t>(crc << 1);
    }
    return crc;
}

void koduj(std::uint8_t typ, std::uint8_t nr, const std::uint8_t* dane, std::size_t n,
           std::vector<std::uint8_t>& wyjscie) {
    const std::size_t start = wyjscie.size();
    wyjscie.push_back(SOH);
    wyjscie.push_back(typ);
    wyjscie.push_back(nr);
    wyjscie.push_back(static_cast<std::uint8_t>(n & 0xFF));
    wyjscie.push_back(static_cast<std::uint8_t>(n >> 8));
    wyjscie.push_back(crc8(wyjscie.data() + start + 1, 4));
    if (n > 0)
        wyjscie.insert(wyjscie.end(), dane, dane + n);
    const std::uint16_t c = crc16(wyjscie.data() + start + 1, NAGLOWEK - 1 + n);
    wyjscie.push_back(static_cast<std::uint8_t>(c >> 8));
    wyjscie.push_back(static_cast<std::uint8_t>(c & 0xFF));
}

std::vector<std::uint8_t> koduj(std::uint8_t typ, std::uint8_t nr,
                                const std::vector<std::uint8_t>& dane) {
    std::vector<std::uint8_t> w;
    w.reserve(NARZUT + dane.size());
    koduj(typ, nr, dane.data(), dane.size(), w);
    return w;
}

void Dekoder::dodaj(const std::uint8_t* p, std::size_t n) {
    // Drop what has been consumed before growing the buffer, so it stays about one frame long.
    if (poczatek_ > 0 && (poczatek_ == bufor_.size() || poczatek_ >= 4096)) {
        bufor_.erase(bufor_.begin(), bufor_.begin() + static_cast<std::ptrdiff_t>(poczatek_));
        poczatek_ = 0;
    }
    bufor_.insert(bufor_.end(), p, p + n);
}

void Dekoder::pomin(std::size_t n) {
    poczatek_ += n;
    odrzucone_ += n;
}

bool Dekoder::nastepna(Ramka& r) {
    wTrakcie_ = false;
    for (;;) {
        const std::uint8_t* b = bufor_.data() + poczatek_;
        const std::size_t jest = bufor_.size() - poczatek_;
        const std::uint8_t* soh = std::find(b, b + jest, SOH);
        pomin(static_cast<std::size_t>(soh - b));
        const std::size_t ile = bufor_.size() - poczatek_;
        if (ile < NAGLOWEK)
            return false;
        const std::uint8_t* h = bufor_.data() + poczatek_;
        const std::size_t dl = h[3] | (static_cast<std::size_t>(h[4]) << 8);
        if (crc8(h + 1, 4) != h[5] || !typZnany(h[1]) || dl > MAKS_DANYCH) {
            pomin(1); // a false start: look again from the next byte
            continue;
        }
        const std::size_t calosc = NAGLOWEK + dl + 2;
        if (ile < calosc) {
            wTrakcie_ = true;
            return false;
        }
        const std::uint16_t c = crc16(h + 1, NAGLOWEK - 1 + dl);
        const std::uint16_t odebrane =
            static_cast<std::uint16_t>((h[NAGLOWEK + dl] << 8) | h[NAGLOWEK + dl + 1]);
        r.typ = h[1];
        r.nr = h[2];
        if (c == odebrane) {
            r.dane.assign(h + NAGLOWEK, h + NAGLOWEK + dl);
            r.poprawna = true;
            poczatek_ += calosc;
        } else {
            // The data may hold the start of the next frame when the length was damaged, so
            // only the SOH is dropped and the rest is searched again.
            r.dane.clear();
            r.poprawna = false;
            pomin(1);
        }
        return true;
    }
}

void Dekoder::wyczysc() {
    bufor_.clear();
    poczatek_ = 0;
    odrzucone_ = 0;
    wTrakcie_ = false;
}

} // namespace pixo::ramka
