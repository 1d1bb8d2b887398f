#include "comm/KonfigTxt.h"

int SzybkoscZIndeksu(int indeks) {
    static constexpr int szybkosci[] = {9600, 19200, 28800, 57600};
    return (indeks >= 0 && indeks < 4) ? szybkosci[indeks] : 9600;
}

QString NrKasyDoZapisu(int wartoscNrKasy) {
    if (wartoscNrKasy == 0)
        return QStringLiteral("01");
    return QString::number(wartoscNrKasy).left(2);
}

QByteArray LiniaKonfiguracji(const QString& nrKasy, const ParametryKomunikacji& p) {
    const int kanal = p.multiplekser > 0 ? p.kanal : 1;
    return QStringLiteral("$%1\tcom%2:%3:mux%4:%5\t%6")
        .arg(nrKasy)
        .arg(p.port)
        .arg(p.szybkosc)
        .arg(p.multiplekser)
        .arg(kanal)
        .arg(p.timeout)
        .toLatin1();
}

QByteArray LiniaNaglowkaIn(const QString& nrKasy) {
    return QByteArray("#") + nrKasy.toLatin1();
}
