#include "transfer/ListyKasy.h"

#include <QFileDevice>
#include <QIODevice>

#include "core/BladProgramu.h"
#include "core/KodyZnakow.h"
#include "transfer/TekstPliku.h"

namespace {

void pominNaglowek(CzytnikLinii& czytnik) {
    QByteArray linia;
    for (int i = 0; i < 3 && czytnik.nastepna(linia); ++i) {
    }
}

void sprawdzOdczyt(const CzytnikLinii& czytnik, QIODevice& plik) {
    if (czytnik.bladOdczytu()) {
        const auto* f = qobject_cast<const QFileDevice*>(&plik);
        throw BladProgramu(QStringLiteral("Nie można odczytać pliku \"%1\": %2.")
                               .arg(f ? f->fileName() : QString(), plik.errorString()));
    }
}

// Field `pole` of the lines after the header, one per entry, as many as there are entries.
template <std::size_t N>
std::array<std::optional<QByteArray>, N> wczytajNazwy(QIODevice& plik, int pole) {
    std::array<std::optional<QByteArray>, N> nazwy;
    CzytnikLinii czytnik(plik);
    pominNaglowek(czytnik);
    QByteArray linia;
    for (std::size_t i = 0; i < N && czytnik.nastepna(linia); ++i)
        nazwy[i] = WezPole(linia, pole);
    sprawdzOdczyt(czytnik, plik);
    return nazwy;
}

} // namespace

std::optional<QByteArray> WezPole(QByteArrayView linia, int n, char separator) {
    if (n <= 0)
        return std::nullopt;
    qsizetype poczatek = 0;
    for (int i = 1; i < n; ++i) {
        const qsizetype sep = linia.indexOf(separator, poczatek);
        if (sep < 0)
            return std::nullopt;
        poczatek = sep + 1;
    }
    qsizetype koniec = linia.indexOf(separator, poczatek);
    if (koniec < 0)
        koniec = linia.size();
    if (koniec == poczatek)
        return std::nullopt;
    return linia.sliced(poczatek, koniec - poczatek).toByteArray();
}

void WczytajTowary(QIODevice& plik, std::vector<QByteArray>& towary) {
    CzytnikLinii czytnik(plik);
    pominNaglowek(czytnik);
    QByteArray linia;
    while (czytnik.nastepna(linia)) {
        std::optional<QByteArray> numer = WezPole(linia, 1);
        if (!numer)
            break;
        if (numer->startsWith('$'))
            (*numer)[0] = '0';
        const int plu = Liczba32(numer->trimmed()).value_or(0);
        if (plu < 1 || plu >= static_cast<int>(towary.size()))
            continue;
        const std::optional<QByteArray> nazwa = WezPole(linia, 2);
        if (!nazwa)
            break; // a number without a name ends the list
        towary[static_cast<std::size_t>(plu)] = *nazwa;
    }
    sprawdzOdczyt(czytnik, plik);
}

std::array<std::optional<QByteArray>, 6> WczytajPlatnosci(QIODevice& plik) {
    return wczytajNazwy<6>(plik, 2);
}

std::array<std::optional<QByteArray>, 8> WczytajWaluty(QIODevice& plik) {
    return wczytajNazwy<8>(plik, 3);
}

QString PozycjaTowaru(int plu, const QByteArray& nazwa852) {
    return QString::number(plu).rightJustified(3, QLatin1Char('0')) + QLatin1Char(' ') +
           tekstZ1250(Tekst852Na1250(nazwa852));
}
