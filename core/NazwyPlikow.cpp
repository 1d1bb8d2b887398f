#include "core/NazwyPlikow.h"

namespace {

// The letter case of names is folded for ASCII letters only, as the system compares them.
QString wielkieAscii(QString s) {
    for (QChar& c : s)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    return s;
}

} // namespace

QString nazwaBezFolderu(const QString& sciezka) {
    const qsizetype ukosnik = sciezka.lastIndexOf(QLatin1Char('/'));
    return ukosnik < 0 ? sciezka : sciezka.mid(ukosnik + 1);
}

bool zastrzezonaNazwa(const QString& sciezka) {
    const QString nazwa = wielkieAscii(nazwaBezFolderu(sciezka));
    return nazwa == QLatin1String("KONFIG.TXT") || nazwa == QLatin1String("RAPORT.TXT");
}
