#pragma once
// Writes animated cursor files byte by byte for the tests, independently of the reader under
// test: cursor images at any colour depth, cursor/icon directories and the RIFF container.

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QPoint>
#include <optional>

namespace budowa {

inline void u16(QByteArray& b, quint32 v) {
    b.append(char(v & 0xff));
    b.append(char((v >> 8) & 0xff));
}
inline void u32(QByteArray& b, quint32 v) {
    u16(b, v & 0xffff);
    u16(b, v >> 16);
}

// A DIB as stored in a cursor: header with doubled height, palette, bottom-up colour rows, AND
// mask. Pixels with alpha 0 become transparent through the mask (colour index 0 / black).
// `bezAlfy` writes a 32-bit image with all alpha bytes 0, as old tools do.
inline QByteArray dib(const QImage& obrazWe, int bpp, bool bezAlfy = false, bool zMaska = true) {
    const QImage obraz = obrazWe.convertToFormat(QImage::Format_ARGB32);
    const int w = obraz.width(), h = obraz.height();
    QList<QRgb> paleta;
    if (bpp <= 8) {
        paleta.append(qRgb(0, 0, 0));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const QRgb c = obraz.pixel(x, y);
                if (qAlpha(c) && !paleta.contains(c | 0xff000000u))
                    paleta.append(c | 0xff000000u);
            }
        Q_ASSERT(paleta.size() <= (1 << bpp));
    }
    QByteArray b;
    u32(b, 40);
    u32(b, w);
    u32(b, zMaska ? 2 * h : h);
    u16(b, 1);
    u16(b, bpp);
    u32(b, 0);
    u32(b, 0);
    u32(b, 0);
    u32(b, 0);
    u32(b, bpp <= 8 ? paleta.size() : 0);
    u32(b, 0);
    for (QRgb c : paleta) {
        b.append(char(qBlue(c)));
        b.append(char(qGreen(c)));
        b.append(char(qRed(c)));
        b.append('\0');
    }
    const int krok = (w * bpp + 31) / 32 * 4;
    for (int y = h - 1; y >= 0; --y) {
        QByteArray wiersz(krok, '\0');
        for (int x = 0; x < w; ++x) {
            const QRgb c = obraz.pixel(x, y);
            if (bpp == 32 || bpp == 24) {
                const int o = x * (bpp / 8);
                wiersz[o] = char(qBlue(c));
                wiersz[o + 1] = char(qGreen(c));
                wiersz[o + 2] = char(qRed(c));
                if (bpp == 32)
                    wiersz[o + 3] = char(bezAlfy ? 0 : qAlpha(c));
            } else {
                const int indeks = qAlpha(c) ? int(paleta.indexOf(c | 0xff000000u)) : 0;
                const int naBajt = 8 / bpp;
                const int przes = (naBajt - 1 - x % naBajt) * bpp;
                wiersz[x / naBajt] = char(quint8(wiersz[x / naBajt]) | (indeks << przes));
            }
        }
        b.append(wiersz);
    }
    if (zMaska) {
        const int krokMaski = (w + 31) / 32 * 4;
        for (int y = h - 1; y >= 0; --y) {
            QByteArray wiersz(krokMaski, '\0');
            for (int x = 0; x < w; ++x)
                if (qAlpha(obraz.pixel(x, y)) == 0)
                    wiersz[x / 8] = char(quint8(wiersz[x / 8]) | (0x80 >> (x % 8)));
            b.append(wiersz);
        }
    }
    return b;
}

inline QByteArray png(const QImage& obraz) {
    QByteArray b;
    QBuffer bufor(&b);
    bufor.open(QIODevice::WriteOnly);
    obraz.save(&bufor, "PNG");
    return b;
}

struct Wpis {
    QByteArray obraz; // DIB or PNG bytes
    int bok = 32;     // size written into the directory entry
    QPoint punkt;     // hotspot (cursors)
};

// A .cur (typ 2) or .ico (typ 1) file with the entries' images after the directory.
inline QByteArray katalog(const QList<Wpis>& wpisy, int typ = 2) {
    QByteArray b;
    u16(b, 0);
    u16(b, typ);
    u16(b, wpisy.size());
    quint32 od = 6 + 16 * wpisy.size();
    for (const Wpis& w : wpisy) {
        b.append(char(w.bok == 256 ? 0 : w.bok));
        b.append(char(w.bok == 256 ? 0 : w.bok));
        b.append('\0');
        b.append('\0');
        u16(b, typ == 2 ? w.punkt.x() : 1);
        u16(b, typ == 2 ? w.punkt.y() : 32);
        u32(b, w.obraz.size());
        u32(b, od);
        od += w.obraz.size();
    }
    for (const Wpis& w : wpisy)
        b.append(w.obraz);
    return b;
}

inline QByteArray kursor(const QImage& obraz, QPoint punkt, int bpp = 32) {
    return katalog({{dib(obraz, bpp), obraz.width(), punkt}});
}

// A square test frame: one colour, a transparent top-left corner of 4 x 4 pixels.
inline QImage obrazProbny(QRgb kolor, int bok = 32) {
    QImage o(bok, bok, QImage::Format_ARGB32);
    o.fill(kolor);
    for (int y = 0; y < 4 && y < bok; ++y)
        for (int x = 0; x < 4 && x < bok; ++x)
            o.setPixel(x, y, qRgba(0, 0, 0, 0));
    return o;
}

inline QByteArray fragment(const char* id, const QByteArray& dane) {
    QByteArray b(id, 4);
    u32(b, dane.size());
    b.append(dane);
    if (dane.size() % 2)
        b.append('\0');
    return b;
}

inline QByteArray liczby(const QList<quint32>& l) {
    QByteArray b;
    for (quint32 v : l)
        u32(b, v);
    return b;
}

struct OpisAni {
    quint32 rozmiarNaglowka = 36;
    std::optional<quint32> liczbaKlatek; // default: the number of icons
    std::optional<quint32> liczbaKrokow; // default: seq's length, else the number of icons
    quint32 cx = 0, cy = 0;
    quint32 domyslnyCzas = 6;
    quint32 flagi = 1; // AF_ICON
    QList<QByteArray> ikony;
    std::optional<QList<quint32>> rate;
    std::optional<QList<quint32>> seq;
    QByteArray naKoniec; // extra chunks after the frame list
};

inline QByteArray ani(const OpisAni& o) {
    const quint32 klatki = o.liczbaKlatek.value_or(o.ikony.size());
    const quint32 kroki = o.liczbaKrokow.value_or(o.seq ? o.seq->size() : o.ikony.size());
    QByteArray naglowek = liczby({o.rozmiarNaglowka, klatki, kroki, o.cx, o.cy, 0, 0,
                                  o.domyslnyCzas, o.flagi | (o.seq ? 2u : 0u)});
    QByteArray tresc("ACON");
    tresc += fragment("anih", naglowek);
    if (o.rate)
        tresc += fragment("rate", liczby(*o.rate));
    if (o.seq)
        tresc += fragment("seq ", liczby(*o.seq));
    QByteArray fram("fram");
    for (const QByteArray& ikona : o.ikony)
        fram += fragment("icon", ikona);
    tresc += fragment("LIST", fram);
    tresc += o.naKoniec;
    QByteArray plik("RIFF");
    u32(plik, tresc.size());
    return plik + tresc;
}

} // namespace budowa
