#include "core/okno/PlikAni.h"

#include <algorithm>
#include <cstring>

#include "core/BladProgramu.h"
#include "core/OdczytPliku.h"

namespace {

constexpr quint32 kAfIcon = 0x1;     // frames are cursor/icon files
constexpr quint32 kAfSequence = 0x2; // a "seq " chunk orders the frames

constexpr quint32 fourcc(const char (&s)[5]) {
    return quint32(quint8(s[0])) | quint32(quint8(s[1])) << 8 | quint32(quint8(s[2])) << 16 |
           quint32(quint8(s[3])) << 24;
}

// A bounds-checked view of part of the file. Every read goes through `miesci`, so no offset
// taken from the file can reach outside the bytes actually read.
struct Wycinek {
    const uchar* p = nullptr;
    qint64 n = 0;

    bool miesci(qint64 od, qint64 ile) const {
        return od >= 0 && ile >= 0 && od <= n && ile <= n - od;
    }
    Wycinek czesc(qint64 od, qint64 ile) const { return {p + od, ile}; }
    quint8 u8(qint64 od) const { return p[od]; }
    quint16 u16(qint64 od) const { return quint16(p[od] | p[od + 1] << 8); }
    quint32 u32(qint64 od) const {
        return quint32(p[od]) | quint32(p[od + 1]) << 8 | quint32(p[od + 2]) << 16 |
               quint32(p[od + 3]) << 24;
    }
    qint32 i32(qint64 od) const { return qint32(u32(od)); }
};

// Walks a run of RIFF chunks (id, little-endian size, data, pad byte to an even length).
class Fragmenty {
public:
    explicit Fragmenty(Wycinek w) : m_w(w) {}

    // False at the end or on a chunk that runs past the end (then `blad()` is true).
    bool nastepny(quint32& id, Wycinek& dane) {
        if (m_poz >= m_w.n)
            return false;
        if (!m_w.miesci(m_poz, 8)) {
            m_blad = true;
            return false;
        }
        id = m_w.u32(m_poz);
        const qint64 rozmiar = m_w.u32(m_poz + 4);
        if (!m_w.miesci(m_poz + 8, rozmiar)) {
            m_blad = true;
            return false;
        }
        dane = m_w.czesc(m_poz + 8, rozmiar);
        // A missing pad byte after the very last chunk is tolerated: it only moves past the end.
        m_poz += 8 + rozmiar + (rozmiar & 1);
        return true;
    }
    bool blad() const { return m_blad; }

private:
    Wycinek m_w;
    qint64 m_poz = 0;
    bool m_blad = false;
};

// Inverse of an opaque colour: how a cursor pixel that inverts the screen looks on the light
// backgrounds of the program's window (an ARGB image cannot invert what lies under it).
QRgb odwrocony(QRgb c) {
    return qRgb(255 - qRed(c), 255 - qGreen(c), 255 - qBlue(c));
}

// Decodes a device-independent bitmap as stored in cursor and icon files: a header, a palette
// for 8 bits per pixel or fewer, the colour rows bottom-up and, when `zMaska`, a one-bit AND
// mask below them (the header then gives twice the image's height).
std::optional<QImage> czytajDib(Wycinek d, bool zMaska, qint64& budzet) {
    if (!d.miesci(0, 40))
        return std::nullopt;
    const qint64 rozmiarNaglowka = d.u32(0);
    if (rozmiarNaglowka < 40 || !d.miesci(0, rozmiarNaglowka))
        return std::nullopt;
    const qint32 szer = d.i32(4);
    const qint32 wysCala = d.i32(8);
    const quint16 plaszczyzny = d.u16(12);
    const quint16 bpp = d.u16(14);
    const quint32 kompresja = d.u32(16);
    const quint32 uzyteKolory = d.u32(32);

    if (szer < 1 || szer > PlikAni::kMaksBok || wysCala < 1)
        return std::nullopt;
    if (zMaska && wysCala % 2 != 0)
        return std::nullopt;
    const qint32 wys = zMaska ? wysCala / 2 : wysCala;
    if (wys < 1 || wys > PlikAni::kMaksBok)
        return std::nullopt;
    if (plaszczyzny != 1 || kompresja != 0)
        return std::nullopt;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32)
        return std::nullopt;
    if (qint64(szer) * wys > budzet)
        return std::nullopt;

    qint64 kolory = 0;
    if (bpp <= 8) {
        kolory = uzyteKolory ? uzyteKolory : (1u << bpp);
        if (kolory > (1 << bpp))
            return std::nullopt;
    } else {
        // A palette may precede true-colour rows as a hint for display; it is skipped.
        if (uzyteKolory > 256)
            return std::nullopt;
        kolory = uzyteKolory;
    }
    const qint64 odPalety = rozmiarNaglowka;
    const qint64 odPikseli = odPalety + kolory * 4;
    const qint64 krokKoloru = (qint64(szer) * bpp + 31) / 32 * 4;
    const qint64 krokMaski = (qint64(szer) + 31) / 32 * 4;
    const qint64 odMaski = odPikseli + krokKoloru * wys;
    if (!d.miesci(odPikseli, krokKoloru * wys))
        return std::nullopt;
    bool jestMaska = zMaska && d.miesci(odMaski, krokMaski * wys);
    // Some writers leave the AND mask out of 32-bit images, whose alpha says it all anyway.
    if (zMaska && !jestMaska && bpp != 32)
        return std::nullopt;

    QList<QRgb> paleta;
    for (qint64 i = 0; i < kolory && bpp <= 8; ++i) {
        const qint64 o = odPalety + i * 4;
        paleta.append(qRgb(d.u8(o + 2), d.u8(o + 1), d.u8(o)));
    }

    QImage obraz(szer, wys, QImage::Format_ARGB32);
    if (obraz.isNull())
        return std::nullopt;
    bool alfa = false;
    for (int y = 0; y < wys; ++y) {
        const qint64 wiersz = odPikseli + krokKoloru * (wys - 1 - y);
        auto* linia = reinterpret_cast<QRgb*>(obraz.scanLine(y));
        for (int x = 0; x < szer; ++x) {
            QRgb c = 0;
            switch (bpp) {
            case 32: {
                const qint64 o = wiersz + qint64(x) * 4;
                c = qRgba(d.u8(o + 2), d.u8(o + 1), d.u8(o), d.u8(o + 3));
                alfa = alfa || d.u8(o + 3) != 0;
                break;
            }
            case 24: {
                const qint64 o = wiersz + qint64(x) * 3;
                c = qRgb(d.u8(o + 2), d.u8(o + 1), d.u8(o));
                break;
            }
            default: {
                const int naBajt = 8 / bpp;
                const quint8 bajt = d.u8(wiersz + x / naBajt);
                const int przesuniecie = (naBajt - 1 - x % naBajt) * bpp;
                const int indeks = (bajt >> przesuniecie) & ((1 << bpp) - 1);
                // An index past a short palette shows black rather than reading beyond it.
                c = indeks < paleta.size() ? paleta[indeks] : qRgb(0, 0, 0);
                break;
            }
            }
            linia[x] = c;
        }
    }

    // With real alpha in a 32-bit image the AND mask is only a fallback for old systems.
    const bool wedlugMaski = jestMaska && !(bpp == 32 && alfa);
    for (int y = 0; y < wys; ++y) {
        auto* linia = reinterpret_cast<QRgb*>(obraz.scanLine(y));
        const qint64 wiersz = odMaski + krokMaski * (wys - 1 - y);
        for (int x = 0; x < szer; ++x) {
            const QRgb c = linia[x] | 0xff000000u;
            if (bpp == 32 && alfa)
                continue;
            if (!wedlugMaski) {
                linia[x] = c;
                continue;
            }
            const bool przezroczysty = (d.u8(wiersz + x / 8) >> (7 - x % 8)) & 1;
            if (!przezroczysty)
                linia[x] = c;
            else if ((c & 0xffffffu) == 0)
                linia[x] = qRgba(0, 0, 0, 0);
            else
                linia[x] = odwrocony(c);
        }
    }
    budzet -= qint64(szer) * wys;
    return obraz;
}

std::optional<QImage> czytajPng(Wycinek d, qint64& budzet) {
    // Signature, then the IHDR chunk whose width and height are checked before decoding.
    if (!d.miesci(0, 24) || std::memcmp(d.p + 12, "IHDR", 4) != 0)
        return std::nullopt;
    auto be32 = [&](qint64 o) {
        return quint32(d.u8(o)) << 24 | quint32(d.u8(o + 1)) << 16 | quint32(d.u8(o + 2)) << 8 |
               quint32(d.u8(o + 3));
    };
    const quint32 szer = be32(16);
    const quint32 wys = be32(20);
    if (szer < 1 || wys < 1 || szer > quint32(PlikAni::kMaksBok) ||
        wys > quint32(PlikAni::kMaksBok) || qint64(szer) * wys > budzet)
        return std::nullopt;
    QImage obraz =
        QImage::fromData(QByteArrayView(reinterpret_cast<const char*>(d.p), qsizetype(d.n)), "PNG");
    if (obraz.isNull() || obraz.width() != int(szer) || obraz.height() != int(wys))
        return std::nullopt;
    budzet -= qint64(szer) * wys;
    return obraz.convertToFormat(QImage::Format_ARGB32);
}

bool toPng(Wycinek d) {
    static const uchar sygnatura[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    return d.miesci(0, 8) && std::memcmp(d.p, sygnatura, 8) == 0;
}

bool toKatalogIkon(Wycinek d) {
    return d.miesci(0, 6) && d.u16(0) == 0 && (d.u16(2) == 1 || d.u16(2) == 2) && d.u16(4) >= 1;
}

std::optional<KlatkaAni> czytajKursorZ(Wycinek d, int preferowanyBok, qint64& budzet) {
    if (!toKatalogIkon(d))
        return std::nullopt;
    const bool kursor = d.u16(2) == 2;
    const int ile = d.u16(4);
    if (!d.miesci(6, qint64(ile) * 16))
        return std::nullopt;

    // The entry of the wanted size, else the largest one; the first wins among equals.
    auto bok = [&](int i) {
        const int b = d.u8(6 + qint64(i) * 16);
        return b ? b : 256; // 0 stands for 256
    };
    int wybrany = -1;
    int najwiekszy = 0;
    for (int i = 0; i < ile; ++i) {
        if (preferowanyBok > 0 && bok(i) == preferowanyBok && wybrany < 0)
            wybrany = i;
        if (bok(i) > bok(najwiekszy))
            najwiekszy = i;
    }
    if (wybrany < 0)
        wybrany = najwiekszy;

    const qint64 wpis = 6 + qint64(wybrany) * 16;
    const int goraX = d.u16(wpis + 4);
    const int goraY = d.u16(wpis + 6);
    const qint64 ileBajtow = d.u32(wpis + 8);
    const qint64 od = d.u32(wpis + 12);
    if (!d.miesci(od, ileBajtow))
        return std::nullopt;
    const Wycinek obrazDane = d.czesc(od, ileBajtow);

    std::optional<QImage> obraz =
        toPng(obrazDane) ? czytajPng(obrazDane, budzet) : czytajDib(obrazDane, true, budzet);
    if (!obraz)
        return std::nullopt;

    KlatkaAni klatka;
    klatka.obraz = *obraz;
    // An icon used as a cursor points with its centre; a hotspot off the image is pulled onto
    // its edge so that the pointer stays inside the picture.
    QPoint punkt = kursor ? QPoint(goraX, goraY) : QPoint(obraz->width() / 2, obraz->height() / 2);
    punkt.setX(std::clamp(punkt.x(), 0, obraz->width() - 1));
    punkt.setY(std::clamp(punkt.y(), 0, obraz->height() - 1));
    klatka.punktAktywny = punkt;
    return klatka;
}

// A frame of a file without AF_ICON. Such files are rare and loosely defined; a frame is taken
// when it is a cursor or icon file after all, or a bare bitmap header with its rows (the AND mask
// expected when the height is doubled against the header's cursor size).
std::optional<KlatkaAni> czytajSurowaKlatke(Wycinek d, int cx, int cy, qint64& budzet) {
    if (toKatalogIkon(d))
        return czytajKursorZ(d, cx, budzet);
    if (!d.miesci(0, 40) || d.u32(0) != 40)
        return std::nullopt;
    const qint32 szer = d.i32(4);
    const qint32 wys = d.i32(8);
    const bool zMaska = (cy > 0 && wys == 2 * cy) || (cy == 0 && wys == 2 * szer);
    auto obraz = czytajDib(d, zMaska, budzet);
    if (!obraz)
        return std::nullopt;
    return KlatkaAni{*obraz, QPoint(0, 0)};
}

} // namespace

namespace PlikAni {

std::optional<KlatkaAni> czytajKursor(const QByteArray& dane, int preferowanyBok) {
    if (dane.size() > kMaksPliku)
        return std::nullopt;
    qint64 budzet = kMaksPikseli;
    return czytajKursorZ({reinterpret_cast<const uchar*>(dane.constData()), dane.size()},
                         preferowanyBok, budzet);
}

std::optional<AnimacjaAni> czytaj(const QByteArray& dane) {
    if (dane.size() > kMaksPliku)
        return std::nullopt;
    const Wycinek plik{reinterpret_cast<const uchar*>(dane.constData()), dane.size()};
    if (!plik.miesci(0, 12) || plik.u32(0) != fourcc("RIFF") || plik.u32(8) != fourcc("ACON"))
        return std::nullopt;
    // A RIFF size beyond the end means a truncated file.
    const qint64 rozmiarRiff = plik.u32(4);
    if (rozmiarRiff < 4 || !plik.miesci(8, rozmiarRiff))
        return std::nullopt;

    std::optional<Wycinek> anih, rate, seq, fram;
    Fragmenty fragmenty(plik.czesc(12, rozmiarRiff - 4));
    quint32 id = 0;
    Wycinek fragment;
    while (fragmenty.nastepny(id, fragment)) {
        // The first of each kind counts; repeated ones are ignored.
        if (id == fourcc("anih") && !anih)
            anih = fragment;
        else if (id == fourcc("rate") && !rate)
            rate = fragment;
        else if (id == fourcc("seq ") && !seq)
            seq = fragment;
        else if (id == fourcc("LIST") && !fram && fragment.miesci(0, 4) &&
                 fragment.u32(0) == fourcc("fram"))
            fram = fragment.czesc(4, fragment.n - 4);
    }
    if (fragmenty.blad() || !anih || !fram)
        return std::nullopt;

    // anih: cbSize, nFrames, nSteps, cx, cy, bitcount, planes, jifRate, flags.
    const Wycinek& h = *anih;
    if (!h.miesci(0, 36) || h.u32(0) != 36)
        return std::nullopt;
    const quint32 liczbaKlatek = h.u32(4);
    const quint32 liczbaKrokow = h.u32(8);
    const quint32 cx = h.u32(12);
    const quint32 cy = h.u32(16);
    const quint32 domyslnyCzas = h.u32(28);
    const quint32 flagi = h.u32(32);
    if (liczbaKlatek < 1 || liczbaKlatek > quint32(kMaksKlatek))
        return std::nullopt;
    if (liczbaKrokow < 1 || liczbaKrokow > quint32(kMaksKrokow))
        return std::nullopt;
    if (cx > quint32(kMaksBok) || cy > quint32(kMaksBok))
        return std::nullopt;
    if ((flagi & kAfSequence) && !seq)
        return std::nullopt;
    // Without a sequence, step i shows frame i.
    if (!seq && liczbaKrokow > liczbaKlatek)
        return std::nullopt;
    if (seq && !seq->miesci(0, qint64(liczbaKrokow) * 4))
        return std::nullopt;
    if (rate && !rate->miesci(0, qint64(liczbaKrokow) * 4))
        return std::nullopt;

    AnimacjaAni wynik;
    for (quint32 i = 0; i < liczbaKrokow; ++i) {
        KrokAni krok;
        krok.klatka = seq ? int(std::min<quint32>(seq->u32(qint64(i) * 4), liczbaKlatek)) : int(i);
        if (krok.klatka >= int(liczbaKlatek))
            return std::nullopt;
        const quint32 jiffies = rate ? rate->u32(qint64(i) * 4) : domyslnyCzas;
        krok.jiffies = int(std::clamp<quint32>(jiffies, 1, quint32(kMaksJiffies)));
        wynik.kroki.append(krok);
    }

    qint64 budzet = kMaksPikseli;
    Fragmenty klatki(*fram);
    while (wynik.klatki.size() < qsizetype(liczbaKlatek) && klatki.nastepny(id, fragment)) {
        if (id != fourcc("icon"))
            continue;
        const auto klatka = (flagi & kAfIcon)
                                ? czytajKursorZ(fragment, int(cx), budzet)
                                : czytajSurowaKlatke(fragment, int(cx), int(cy), budzet);
        if (!klatka)
            return std::nullopt;
        wynik.klatki.append(*klatka);
    }
    if (klatki.blad() || wynik.klatki.size() != qsizetype(liczbaKlatek))
        return std::nullopt;
    return wynik;
}

std::optional<AnimacjaAni> czytajPlik(const QString& sciezka) {
    try {
        return czytaj(wczytajZwyklyPlik(sciezka, kMaksPliku));
    } catch (const BladProgramu&) {
        return std::nullopt; // no animated cursor then, and no error
    }
}

} // namespace PlikAni
