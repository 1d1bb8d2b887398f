#include "transfer/okno/ImportStartowy.h"

#include <QBuffer>
#include <QCursor>
#include <QFile>
#include <QGuiApplication>

#include "core/KodyZnakow.h"
#include "core/OdczytPliku.h"
#include "core/okno/Dialogi.h"
#include "keys/StanProgramu.h"
#include "transfer/LaczeKasy.h"
#include "transfer/NrKasy.h"
#include "transfer/PlikDefinicji.h"
#include "transfer/okno/PokazBlad.h"

namespace {

const QString kPytanie = QStringLiteral(
    "Czy odczytać bazę towarową, płatności, waluty i  definicje klawiszy z podłączonej kasy?");
const QString kNieStworzono = QStringLiteral("Nie udało się stworzyć pliku wejsciowego");
// 3071 goods lines of at most 255 characters fit several times over.
constexpr qint64 kMaksListy = 4 * 1024 * 1024;

// Hands a list file, found in any letter case (the library writes into the one it finds), to
// `czytaj`; nothing when there is none. One that cannot be read, or is no regular file, is an
// error.
template <typename Czytaj> void czytajListe(const QString& nazwa, Czytaj czytaj) {
    const QString sciezka = plikBezWielkosci(QStringLiteral("."), nazwa);
    if (sciezka.isEmpty())
        return;
    QByteArray tresc = wczytajZwyklyPlik(sciezka, kMaksListy);
    QBuffer plik(&tresc);
    plik.open(QIODevice::ReadOnly);
    czytaj(plik);
}

// The three exports in order; false after the first failure, which has been told to the user.
// The library leaves an older output file whole when it fails, so that file stays: it is the
// last good list.
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
            PokazBlad(stan, dialogi, okno, lacze.powodBledu());
            return false;
        }
    }
    return true;
}

} // namespace

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
    bool czytajDefinicje = false;
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
        // After a failed export the lists on disk are loaded as after "Nie".
        czytajDefinicje = eksportuj(stan, dialogi, lacze, widok.okno);
    }

    {
        // Reading the lists of a full register takes a moment; a hand-made huge file longer.
        struct KursorCzekania {
            KursorCzekania() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
            ~KursorCzekania() { QGuiApplication::restoreOverrideCursor(); }
        } kursor;
        czytajListe(kPlikTowarow, [&](QIODevice& plik) { WczytajTowary(plik, stan.towary); });
        czytajListe(kPlikPlatnosci, [&](QIODevice& plik) {
            const auto nazwy = WczytajPlatnosci(plik);
            for (int k = 0; k < 6; ++k)
                if (nazwy[k])
                    widok.ustawPlatnosc(k + 1, tekstZ1250(*nazwy[k]));
        });
        czytajListe(kPlikWalut, [&](QIODevice& plik) {
            const auto nazwy = WczytajWaluty(plik);
            for (int n = 1; n <= 8; ++n)
                if (nazwy[n - 1])
                    widok.ustawWalute(n - 1, QString::number(n) + QLatin1Char(' ') +
                                                 tekstZ1250(*nazwy[n - 1]));
        });
        pokazTowary();
    }
    // The key definitions last, under the normal cursor (the read tells its own failures): the
    // panel then shows the selected key's own goods item, not the refilled list's first, and
    // the labels are filled from the payment and currency names just loaded.
    if (czytajDefinicje && widok.odczytajDefinicje)
        widok.odczytajDefinicje();
}
