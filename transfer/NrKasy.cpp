#include "transfer/NrKasy.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "core/BladProgramu.h"
#include "core/OdczytPliku.h"
#include "transfer/PlikDefinicji.h"

namespace {
const QString kNazwaKonfiguracji = QStringLiteral("KONFIG.TXT");
// Far more than any line the program writes; a first line is read no further.
constexpr qint64 kMaksPierwszejLinii = 4096;
} // namespace

std::optional<QString> NrKasyZLinii(QByteArrayView linia) {
    if (linia.size() < 2)
        return std::nullopt;
    const auto znak = [&](qsizetype i) { return static_cast<unsigned char>(linia[i]); };
    QString nr(QChar(znak(1)));
    if (linia.size() >= 3 && znak(2) >= '0')
        nr += QChar(znak(2));
    return nr;
}

QString SciezkaKonfiguracji(const QString& katalog) {
    const QString sciezka = plikBezWielkosci(katalog, kNazwaKonfiguracji);
    // A folder of that name is no configuration file: the parameters are still to be set.
    return QFileInfo(sciezka).isDir() ? QString() : sciezka;
}

bool WczytajNrKasy(QString& nrKasy, const QString& katalog) {
    const QString sciezka = SciezkaKonfiguracji(katalog);
    if (sciezka.isEmpty())
        return false;
    const QByteArray tresc = wczytajZwyklyPlik(sciezka, kMaksRozmiarKonfiguracji);
    const std::optional<QString> nr = NrKasyZLinii(tresc.left(tresc.indexOf('\n')));
    if (!nr)
        throw BladProgramu(QStringLiteral("Brak numeru kasy w pierwszej linii pliku %1.")
                               .arg(QDir::toNativeSeparators(sciezka)));
    nrKasy = *nr;
    return true;
}

std::vector<std::uint8_t> NumeryKasZKonfiguracji(const QString& sciezka) {
    QByteArray tresc = wczytajZwyklyPlik(sciezka, kMaksRozmiarKonfiguracji);
    QBuffer plik(&tresc);
    plik.open(QIODevice::ReadOnly);
    std::vector<std::uint8_t> numery;
    for (int nrLinii = 1; !plik.atEnd(); ++nrLinii) {
        QByteArray linia = plik.readLine(kMaksPierwszejLinii);
        // The rest of a longer line would be read as a line of its own, and a number in it
        // taken for a register's.
        if (!linia.endsWith('\n') && !plik.atEnd())
            throw BladProgramu(QStringLiteral("Za długa linia %1 pliku %2.")
                                   .arg(nrLinii)
                                   .arg(QDir::toNativeSeparators(sciezka)));
        linia = linia.trimmed();
        if (linia.isEmpty())
            continue;
        const std::optional<QString> nr = NrKasyZLinii(linia);
        const std::optional<std::uint8_t> numer = nr ? NumerKasy(*nr) : std::nullopt;
        if (!numer || *numer < 1 || *numer > 99)
            throw BladProgramu(QStringLiteral("Brak numeru kasy w linii %1 pliku %2.")
                                   .arg(nrLinii)
                                   .arg(QDir::toNativeSeparators(sciezka)));
        if (std::find(numery.begin(), numery.end(), *numer) == numery.end())
            numery.push_back(*numer);
    }
    return numery;
}

std::optional<std::uint8_t> NumerKasy(const QString& nrKasy) {
    bool ok = false;
    const int nr = nrKasy.toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return static_cast<std::uint8_t>(nr & 0xff);
}

QString TekstZlegoNumeruKasy(const QString& nrKasy) {
    if (nrKasy.isEmpty())
        return QStringLiteral("Nie ustawiono numeru kasy.\rNaciśnij przycisk \"POŁĄCZENIE\" i "
                              "zapisz parametry komunikacji.");
    // Control bytes from the file (a NUL would end the box's text) show as marks.
    return QStringLiteral("Numer kasy \"%1\" nie jest liczbą.\rNaciśnij przycisk \"POŁĄCZENIE\" i "
                          "ustaw ponownie parametry komunikacji.")
        .arg(TekstZlejLinii(nrKasy.toLatin1()));
}
