#include "Naglowki.h"

namespace {

quint32 le32(const QByteArray& d, int i) {
    const auto b = [&](int k) { return static_cast<quint32>(static_cast<quint8>(d[i + k])); };
    return b(0) | (b(1) << 8) | (b(2) << 16) | (b(3) << 24);
}

int le16(const QByteArray& d, int i) {
    return static_cast<quint8>(d[i]) | (static_cast<quint8>(d[i + 1]) << 8);
}

int be16(const QByteArray& d, int i) {
    return (static_cast<quint8>(d[i]) << 8) | static_cast<quint8>(d[i + 1]);
}

} // namespace

NaglowekBmp czytajNaglowekBmp(const QByteArray& d) {
    NaglowekBmp n;
    if (d.size() < 54 || d[0] != 'B' || d[1] != 'M') {
        n.blad = QStringLiteral("brak sygnatury BM");
        return n;
    }
    const quint32 poczatekDanych = le32(d, 10);
    const quint32 rozmiarInfo = le32(d, 14);
    if (rozmiarInfo < 40 || 14 + rozmiarInfo > static_cast<quint32>(d.size()) ||
        poczatekDanych > static_cast<quint32>(d.size()) || poczatekDanych < 14 + rozmiarInfo) {
        n.blad = QStringLiteral("niepoprawny nagłówek informacyjny");
        return n;
    }
    n.szerokosc = static_cast<qint32>(le32(d, 18));
    n.wysokosc = static_cast<qint32>(le32(d, 22));
    n.bityNaPiksel = le16(d, 28);
    n.kompresja = le32(d, 30);
    n.pikseliNaMetrX = static_cast<qint32>(le32(d, 38));
    n.pikseliNaMetrY = static_cast<qint32>(le32(d, 42));
    n.koloryUzyte = le32(d, 46);
    n.wpisyPalety = static_cast<int>((poczatekDanych - 14 - rozmiarInfo) / 4);
    return n;
}

NaglowekJpeg czytajNaglowekJpeg(const QByteArray& d) {
    NaglowekJpeg n;
    if (d.size() < 4 || static_cast<quint8>(d[0]) != 0xFF || static_cast<quint8>(d[1]) != 0xD8) {
        n.blad = QStringLiteral("brak znacznika SOI");
        return n;
    }
    int i = 2;
    while (i + 4 <= d.size()) {
        if (static_cast<quint8>(d[i]) != 0xFF) {
            n.blad = QStringLiteral("uszkodzony znacznik");
            return n;
        }
        const int znacznik = static_cast<quint8>(d[i + 1]);
        if (znacznik == 0xFF) { // fill byte
            ++i;
            continue;
        }
        const int dlugosc = be16(d, i + 2);
        const int tresc = i + 4;
        if (dlugosc < 2 || i + 2 + dlugosc > d.size()) {
            n.blad = QStringLiteral("segment poza plikiem");
            return n;
        }
        if (znacznik == 0xE0 && dlugosc >= 16 && d.mid(tresc, 5) == QByteArray("JFIF\0", 5)) {
            n.jfif = true;
            n.jednostkiGestosci = static_cast<quint8>(d[tresc + 7]);
            n.gestoscX = be16(d, tresc + 8);
            n.gestoscY = be16(d, tresc + 10);
        }
        const bool sof = znacznik >= 0xC0 && znacznik <= 0xCF && znacznik != 0xC4 &&
                         znacznik != 0xC8 && znacznik != 0xCC;
        if (sof && dlugosc >= 8) {
            n.wysokosc = be16(d, tresc + 1);
            n.szerokosc = be16(d, tresc + 3);
            n.skladowe = static_cast<quint8>(d[tresc + 5]);
        }
        if (znacznik == 0xDA) { // start of scan: every header is behind us
            break;
        }
        i += 2 + dlugosc;
    }
    if (n.skladowe == 0) {
        n.blad = QStringLiteral("brak nagłówka ramki");
    }
    return n;
}
