#include "comm/KonfigTxt.h"

#include <QDir>
#include <QFile>
#include <optional>

#include "core/BladProgramu.h"
#include "core/OdczytPliku.h"
#include "transfer/NrKasy.h"
#include "transfer/TekstPliku.h"

namespace {

// The register 1 to 99 a line belongs to: the program's reading rule, on a line that begins
// with "$" as the protocol library wants it.
std::optional<std::uint8_t> kasaLinii(const QByteArray& linia) {
    if (!linia.startsWith('$'))
        return std::nullopt;
    const std::optional<QString> nr = NrKasyZLinii(linia);
    const std::optional<std::uint8_t> numer = nr ? NumerKasy(*nr) : std::nullopt;
    if (!numer || *numer < 1 || *numer > 99)
        return std::nullopt;
    return numer;
}

bool czytelnaDlaBiblioteki(const QByteArray& linia) {
    if (linia.size() > kMaksDlugoscLinii)
        return false;
    for (const char c : linia) {
        const auto z = static_cast<unsigned char>(c);
        if ((z < 0x20 && z != '\t') || z == 0x7f)
            return false;
    }
    return true;
}

} // namespace

int SzybkoscZIndeksu(int indeks) {
    static constexpr int szybkosci[] = {9600, 19200, 28800, 57600};
    return (indeks >= 0 && indeks < 4) ? szybkosci[indeks] : 9600;
}

QString NrKasyDoZapisu(int wartoscNrKasy, const QByteArrayList& stareLinie) {
    if (wartoscNrKasy != 0)
        return QString::number(wartoscNrKasy).left(2);
    for (const QByteArray& linia : stareLinie) {
        if (linia.trimmed().isEmpty())
            continue;
        if (kasaLinii(linia))
            return *NrKasyZLinii(linia);
        break;
    }
    return QStringLiteral("01");
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

QByteArrayList LinieKonfiguracji(const QString& nrKasy, const QByteArray& linia,
                                 const QByteArrayList& stareLinie) {
    const std::optional<std::uint8_t> wlasna = NumerKasy(nrKasy);
    QByteArrayList wynik{linia};
    for (const QByteArray& stara : stareLinie) {
        const std::optional<std::uint8_t> kasa = kasaLinii(stara);
        if (kasa && kasa != wlasna && czytelnaDlaBiblioteki(stara))
            wynik << stara;
    }
    return wynik;
}

QByteArrayList CzytajLinieKonfiguracji(const QString& katalog) {
    const QString sciezka = SciezkaKonfiguracji(katalog);
    if (sciezka.isEmpty())
        return {};
    QByteArray tresc = wczytajZwyklyPlik(sciezka, kMaksRozmiarKonfiguracji);
    if (tresc.endsWith('\n'))
        tresc.chop(1);
    QByteArrayList linie = tresc.split('\n');
    for (QByteArray& l : linie)
        if (l.endsWith('\r'))
            l.chop(1);
    return linie;
}

QByteArray LiniaNaglowkaIn(const QString& nrKasy) {
    return QByteArray("#") + nrKasy.toLatin1();
}
