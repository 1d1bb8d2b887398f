#pragma once
// Reading back what the export wrote: the header fields of a Windows bitmap file.

#include <QByteArray>
#include <QFile>
#include <QtEndian>

struct NaglowekBmp {
    bool poprawny = false;
    int szerokosc = 0;
    int wysokosc = 0;
    int bity = 0;
    quint32 kompresja = 0;
    int pikseliNaMetrX = 0;
    int pikseliNaMetrY = 0;
    int wpisyPalety = 0;
};

inline NaglowekBmp czytajNaglowekBmp(const QString& sciezka) {
    QFile f(sciezka);
    NaglowekBmp n;
    if (!f.open(QIODevice::ReadOnly))
        return n;
    const QByteArray d = f.read(54);
    if (d.size() < 54 || !d.startsWith("BM"))
        return n;
    const auto u32 = [&d](int o) { return qFromLittleEndian<quint32>(d.constData() + o); };
    const auto i32 = [&d](int o) { return qFromLittleEndian<qint32>(d.constData() + o); };
    const auto u16 = [&d](int o) { return qFromLittleEndian<quint16>(d.constData() + o); };
    const quint32 poczatekDanych = u32(10);
    const quint32 rozmiarInfo = u32(14);
    n.szerokosc = i32(18);
    n.wysokosc = i32(22);
    n.bity = u16(28);
    n.kompresja = u32(30);
    n.pikseliNaMetrX = i32(38);
    n.pikseliNaMetrY = i32(42);
    n.wpisyPalety = static_cast<int>((poczatekDanych - 14 - rozmiarInfo) / 4);
    n.poprawny = true;
    return n;
}
