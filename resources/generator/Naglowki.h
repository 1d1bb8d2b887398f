#pragma once

#include <QByteArray>
#include <QString>

// Readers of the few header fields that the program relies on. Qt's image readers hide them
// (depth after conversion, rounded resolution), so the written files are checked byte by byte.

struct NaglowekBmp {
    QString blad; // empty when the header could be read
    qint32 szerokosc = 0;
    qint32 wysokosc = 0; // positive: rows stored bottom-up
    int bityNaPiksel = 0;
    quint32 kompresja = 0;
    qint32 pikseliNaMetrX = 0;
    qint32 pikseliNaMetrY = 0;
    quint32 koloryUzyte = 0;
    int wpisyPalety = 0; // entries between the info header and the pixel data
};

struct NaglowekJpeg {
    QString blad;
    bool jfif = false;
    int jednostkiGestosci = -1; // 1 = dots per inch
    int gestoscX = 0;
    int gestoscY = 0;
    int szerokosc = 0;
    int wysokosc = 0;
    int skladowe = 0;
};

NaglowekBmp czytajNaglowekBmp(const QByteArray& dane);
NaglowekJpeg czytajNaglowekJpeg(const QByteArray& dane);
