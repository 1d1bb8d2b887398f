#include "transfer/ImportStartowy.h"

#include <QCursor>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include "core/BladProgramu.h"
#include "core/Dialogi.h"
#include "core/KodyZnakow.h"
#include "keys/StanProgramu.h"
#include "transfer/LaczeKasy.h"
#include "transfer/NrKasy.h"
#include "transfer/PlikDefinicji.h"
#include "transfer/PokazBlad.h"
#include "transfer/TekstPliku.h"

namespace {

const QString kPytanie = QStringLiteral(
    "Czy odczytać bazę towarową, płatności, waluty i  definicje klawiszy z podłączonej kasy?");
const QString kNieStworzono = QStringLiteral("Nie udało się stworzyć pliku wejsciowego");

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

// Opens a list file that exists; nothing when there is none. One that exists but cannot be
// read is an error.
bool otworzListe(QFile& plik) {
    if (!QFileInfo::exists(plik.fileName()))
        return false;
    if (!plik.open(QIODevice::ReadOnly))
        throw BladProgramu(QStringLiteral("Nie można otworzyć pliku \"%1\": %2.")
                               .arg(plik.fileName(), plik.errorString()));
    return true;
}

// The three exports in order; false after the first failure, which has been told to the user
// and whose output file is gone.
bool eksportuj(StanProgramu& stan, Dialogi& dialogi, LaczeKasy& lacze, QWidget* okno) {
    struct UsunZadanie {
        ~UsunZadanie() { QFile::remove(kPlikWejsciowy); }
    } usun;
    using Eksport = std::uint8_t (LaczeKasy::*)(const QString&, const QString&);
    const std::pair<Eksport, const QString*> eksporty[] = {{&LaczeKasy::TowarMax, &kPlikTowarow},
                                                           {&LaczeKasy::OPlat, &kPlikPlatnosci},
                                                           {&LaczeKasy::OWaluta, &kPlikWalut}};
    for (const auto& [eksport, plik] : eksporty) {
        stan.NrBledu = (lacze.*eksport)(kPlikWejsciowy, *plik);
        if (stan.NrBledu != 0) {
            QFile::remove(*plik);
            PokazBlad(stan, dialogi, okno, lacze.powodBleduPortu());
            return false;
        }
    }
    return true;
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

void ImportStartowy(const WidokImportu& widok, StanProgramu& stan, Dialogi& dialogi,
                    LaczeKasy& lacze) {
    stan.towary.assign(StanProgramu::kLiczbaTowarow + 1, QByteArray());
    const auto pokazTowary = [&] {
        QStringList pozycje;
        pozycje.reserve(StanProgramu::kLiczbaTowarow);
        for (int plu = 1; plu <= StanProgramu::kLiczbaTowarow; ++plu)
            pozycje << PozycjaTowaru(plu, stan.towary[static_cast<std::size_t>(plu)]);
        widok.ustawTowary(pozycje);
    };
    pokazTowary();

    const bool zKasy = dialogi.komunikat(widok.okno, {QStringLiteral("Odpowiedz..."), kPytanie,
                                                      Dialogi::Ikona::Pytanie,
                                                      Dialogi::Tak | Dialogi::Nie}) == Dialogi::Tak;
    if (zKasy) {
        if (!WczytajNrKasy(stan.NrKasy)) {
            if (widok.otworzOknoKomunik)
                widok.otworzOknoKomunik();
            if (SciezkaKonfiguracji().isEmpty())
                return;
        }
        if (widok.odswiez)
            widok.odswiez();
        const std::optional<std::uint8_t> numer = NumerKasy(stan.NrKasy);
        if (!numer) {
            dialogi.blad(widok.okno, kTytulBledu, TekstZlegoNumeruKasy(stan.NrKasy));
            return;
        }
        if (!UtworzPlikWejsciowy(kPlikWejsciowy, *numer)) {
            dialogi.blad(widok.okno, kTytulBledu, kNieStworzono);
            return;
        }
        if (!eksportuj(stan, dialogi, lacze, widok.okno))
            return;
    }

    // Reading the lists of a full register takes a moment; a hand-made huge file longer.
    struct KursorCzekania {
        KursorCzekania() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
        ~KursorCzekania() { QGuiApplication::restoreOverrideCursor(); }
    };
    std::optional<KursorCzekania> kursor;
    kursor.emplace();
    QFile towary(kPlikTowarow);
    if (otworzListe(towary))
        WczytajTowary(towary, stan.towary);
    if (zKasy && widok.odczytajDefinicje) {
        kursor.reset(); // the read tells its own failures, under the normal cursor
        widok.odczytajDefinicje();
        kursor.emplace();
    }
    QFile platnosci(kPlikPlatnosci);
    if (otworzListe(platnosci)) {
        const auto nazwy = WczytajPlatnosci(platnosci);
        for (int k = 0; k < 6; ++k)
            if (nazwy[k])
                widok.ustawPlatnosc(k + 1, tekstZ1250(*nazwy[k]));
    }
    QFile waluty(kPlikWalut);
    if (otworzListe(waluty)) {
        const auto nazwy = WczytajWaluty(waluty);
        for (int n = 1; n <= 8; ++n)
            if (nazwy[n - 1])
                widok.ustawWalute(n - 1, QString::number(n) + QLatin1Char(' ') +
                                             tekstZ1250(*nazwy[n - 1]));
    }
    pokazTowary();
}
