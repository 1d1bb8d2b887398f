#include "overlay/EksportWkladki.h"

#include <QtEndian>
#include <cmath>
#include <cstring>

#include "core/BladProgramu.h"
#include "core/ZapisPliku.h"
#include "overlay/PlikBitmapy.h"

QSize powierzchniaEksportu(QSize kontrolka) {
    return {static_cast<int>(std::trunc(kontrolka.width() * 1.223)), kontrolka.height()};
}

SkalaEksportu skalaEksportu(QSize bitmapa, QSize kontrolka) {
    const QSize p = powierzchniaEksportu(kontrolka);
    return {static_cast<double>(bitmapa.width()) / p.width(),
            static_cast<double>(bitmapa.height()) / p.height()};
}

QRect prostokatNapisu(QPoint lewyGorny, bool jednoliniowy, SkalaEksportu s) {
    const double L = lewyGorny.x();
    const double T = lewyGorny.y();
    const int lewa = static_cast<int>(std::trunc(L * s.sx + kPrzesuniecieNapisow));
    const int gora = static_cast<int>(std::trunc((jednoliniowy ? T + 2 : T) * s.sy));
    const int prawa = static_cast<int>(std::trunc((L + 46) * s.sx + kPrzesuniecieNapisow));
    const int dol = static_cast<int>(std::trunc((T + 16) * s.sy));
    return QRect(QPoint(lewa, gora), QSize(prawa - lewa, dol - gora));
}

int mnozDziel(int a, int b, int c) {
    const long long iloczyn = static_cast<long long>(a) * b;
    const long long wynik = (std::llabs(iloczyn) + std::llabs(c) / 2) / std::llabs(c);
    return static_cast<int>((iloczyn < 0) != (c < 0) ? -wynik : wynik);
}

int pikseleCzcionki(const QFont& f) {
    if (f.pixelSize() > 0)
        return f.pixelSize();
    return static_cast<int>(std::lround(f.pointSizeF() * kDpiEkranu / 72.0));
}

QFont czcionkaEksportu(const QFont& ekranowa, double sy) {
    // The label font's size in whole points, as the screen gives it, scaled and truncated,
    // then back to pixels at the screen's resolution.
    const int punkty = mnozDziel(pikseleCzcionki(ekranowa), 72, kDpiEkranu);
    const int punktyEksportu = static_cast<int>(std::trunc(punkty * sy));
    QFont f(ekranowa);
    f.setPixelSize(std::max(1, mnozDziel(punktyEksportu, kDpiEkranu, 72)));
    return f;
}

QString dopelnijNapis(const QString& tekst) {
    if (tekst.size() >= 8)
        return tekst;
    return tekst + QString(8 - tekst.size(), QLatin1Char(' '));
}

QImage rysujNapisy(const QImage& wydruk, const std::vector<NapisEksportu>& napisy,
                   const QFont& czcionka, const QColor& kolorTekstu, SkalaEksportu s) {
    PlikBitmapy plik;
    plik.rysuj(wydruk, napisy, czcionka, kolorTekstu, s);
    return plik.obraz();
}

void zakodujBmp(const QImage& zrodlo, QByteArray& dane) {
    // Palette bitmaps stay 8 bits with their whole palette; everything else is 24 bits.
    const bool paleta = zrodlo.format() == QImage::Format_Indexed8;
    const bool rgb32 =
        zrodlo.format() == QImage::Format_RGB32 || zrodlo.format() == QImage::Format_ARGB32;
    const QImage obraz = paleta || rgb32 ? zrodlo : zrodlo.convertToFormat(QImage::Format_RGB32);
    const int w = obraz.width();
    const int h = obraz.height();
    const int bity = paleta ? 8 : 24;
    const qsizetype wiersz = ((static_cast<qsizetype>(w) * bity + 31) / 32) * 4;
    const qsizetype uzyteWiersza = static_cast<qsizetype>(w) * bity / 8;
    const qsizetype wpisy = paleta ? obraz.colorCount() : 0;
    const qsizetype poczatekDanych = 14 + 40 + 4 * wpisy;
    const qsizetype rozmiar = poczatekDanych + wiersz * h;

    // The buffer is reused as it comes: every byte of it is written below.
    dane.resize(rozmiar);
    auto* d = reinterpret_cast<uchar*>(dane.data());
    const auto u16 = [d](qsizetype o, quint16 v) { qToLittleEndian(v, d + o); };
    const auto u32 = [d](qsizetype o, quint32 v) { qToLittleEndian(v, d + o); };
    d[0] = 'B';
    d[1] = 'M';
    u32(2, static_cast<quint32>(rozmiar));
    u32(6, 0);
    u32(10, static_cast<quint32>(poczatekDanych));
    u32(14, 40);
    u32(18, static_cast<quint32>(w));
    u32(22, static_cast<quint32>(h)); // positive: rows bottom-up
    u16(26, 1);
    u16(28, static_cast<quint16>(bity));
    u32(30, 0); // uncompressed
    u32(34, static_cast<quint32>(wiersz * h));
    u32(38, static_cast<quint32>(obraz.dotsPerMeterX()));
    u32(42, static_cast<quint32>(obraz.dotsPerMeterY()));
    u32(46, static_cast<quint32>(wpisy));
    u32(50, 0);
    for (qsizetype i = 0; i < wpisy; ++i) {
        const QRgb c = obraz.color(static_cast<int>(i));
        uchar* wpis = d + 54 + 4 * i;
        wpis[0] = static_cast<uchar>(qBlue(c));
        wpis[1] = static_cast<uchar>(qGreen(c));
        wpis[2] = static_cast<uchar>(qRed(c));
        wpis[3] = 0;
    }
    for (int y = 0; y < h; ++y) {
        uchar* cel = d + poczatekDanych + wiersz * (h - 1 - y);
        if (paleta) {
            std::memcpy(cel, obraz.constScanLine(y), static_cast<size_t>(w));
        } else {
            const auto* p = reinterpret_cast<const QRgb*>(obraz.constScanLine(y));
            for (int x = 0; x < w; ++x) {
                cel[3 * x] = static_cast<uchar>(qBlue(p[x]));
                cel[3 * x + 1] = static_cast<uchar>(qGreen(p[x]));
                cel[3 * x + 2] = static_cast<uchar>(qRed(p[x]));
            }
        }
        std::memset(cel + uzyteWiersza, 0, static_cast<size_t>(wiersz - uzyteWiersza));
    }
}

QByteArray zakodujBmp(const QImage& obraz) {
    QByteArray dane;
    zakodujBmp(obraz, dane);
    return dane;
}

void zapiszBitmape(const QImage& obraz, const QString& sciezka, QByteArray* bufor) {
    QByteArray wlasny;
    QByteArray& dane = bufor ? *bufor : wlasny;
    zakodujBmp(obraz, dane);
    zapiszBezpiecznie(sciezka, QByteArrayView(dane));
}

QString zmienRozszerzenie(const QString& sciezka, const QString& rozszerzenie) {
    const qsizetype poczatekNazwy = sciezka.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype kropka = sciezka.lastIndexOf(QLatin1Char('.'));
    if (kropka >= poczatekNazwy)
        return sciezka.left(kropka) + rozszerzenie;
    return sciezka + rozszerzenie;
}
