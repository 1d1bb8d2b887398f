#pragma once
// Where a PDF page draws its images: the page content streams are inflated and their
// transformation operators followed up to each image drawn.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QRectF>
#include <QRegularExpression>
#include <QTransform>
#include <zlib.h>

inline QByteArray influjStrumien(const QByteArray& dane) {
    QByteArray wynik;
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return {};
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(dane.constData()));
    z.avail_in = static_cast<uInt>(dane.size());
    char bufor[65536];
    int stan = Z_OK;
    while (stan == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(bufor);
        z.avail_out = sizeof bufor;
        stan = inflate(&z, Z_NO_FLUSH);
        wynik.append(bufor, static_cast<qsizetype>(sizeof bufor - z.avail_out));
    }
    inflateEnd(&z);
    return stan == Z_STREAM_END ? wynik : QByteArray();
}

// The rectangles (in PDF points, origin bottom-left) at which images are drawn by the
// content streams of the file.
inline QList<QRectF> obrazyNaStronie(const QString& sciezka) {
    QFile f(sciezka);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray pdf = f.readAll();
    QList<QRectF> wynik;
    qsizetype pozycja = 0;
    while (true) {
        const qsizetype poczatek = pdf.indexOf("stream", pozycja);
        if (poczatek < 0)
            break;
        qsizetype dane = poczatek + 6;
        if (pdf.mid(dane, 2) == "\r\n")
            dane += 2;
        else if (pdf.mid(dane, 1) == "\n")
            dane += 1;
        const qsizetype koniec = pdf.indexOf("endstream", dane);
        if (koniec < 0)
            break;
        pozycja = koniec + 9;
        if (poczatek >= 3 && pdf.mid(poczatek - 3, 3) == "end")
            continue;
        const QByteArray tresc = influjStrumien(pdf.mid(dane, koniec - dane));
        if (tresc.isEmpty() || !tresc.contains(" Do"))
            continue;
        // Follow q, Q and cm; a Do draws the unit square through the current matrix.
        QList<QTransform> stos;
        QTransform ctm;
        QList<double> liczby;
        for (const QByteArray& slowo : tresc.simplified().split(' ')) {
            bool liczba = false;
            const double v = slowo.toDouble(&liczba);
            if (liczba) {
                liczby << v;
                continue;
            }
            if (slowo == "q") {
                stos << ctm;
            } else if (slowo == "Q" && !stos.isEmpty()) {
                ctm = stos.takeLast();
            } else if (slowo == "cm" && liczby.size() >= 6) {
                const auto n = liczby.mid(liczby.size() - 6);
                ctm = QTransform(n[0], n[1], n[2], n[3], n[4], n[5]) * ctm;
            } else if (slowo == "Do") {
                wynik << ctm.mapRect(QRectF(0, 0, 1, 1));
            }
            liczby.clear();
        }
    }
    return wynik;
}
