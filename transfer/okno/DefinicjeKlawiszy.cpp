#include "transfer/okno/DefinicjeKlawiszy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "core/BladProgramu.h"
#include "core/NazwyPlikow.h"
#include "core/OdczytPliku.h"
#include "core/okno/Dialogi.h"
#include "keys/StanProgramu.h"
#include "transfer/LaczeKasy.h"
#include "transfer/NrKasy.h"
#include "transfer/PlikDefinicji.h"
#include "transfer/okno/PokazBlad.h"

namespace {

const QString kFiltr = QStringLiteral("Pliki tekstowe|*.txt|Wszystkie pliki|*.*");
const QString kRozszerzenie = QStringLiteral("txt");
// The read says it without the Polish letter, the write and the delete with it.
const QString kUstawicOdczyt = QStringLiteral("Należy ustawic parametry komunikacji");
const QString kUstawic = QStringLiteral("Należy ustawić parametry komunikacji");
const QString kBlednyFormat = QStringLiteral("Błędny format pliku wejsciowego");
const QString kNieStworzono = QStringLiteral("Nie udało się stworzyc pliku wejsciowego");
const QString kZastrzezona = QStringLiteral("BŁĄD ZAPISU: ZASTRZEŻONA NAZWA PLIKU (%1)");
const QString kZapisanoDoKasy = QStringLiteral("Definicje klawiszy zapisano do kasy i do pliku ");
const QString kZapisanoDoPliku = QStringLiteral("Definicje klawiszy zapisano do pliku ");
const QString kZaDuzoPlatnosci =
    QStringLiteral("Zbyt dużo płatności.Należy skasować wszystkie klawisze i ponowić zapis.");
const QString kWyjatekZapisu = QStringLiteral("Wystąpił wyjątek w zapisie definicji klawiszy");
const QString kCzySkasowac = QStringLiteral("Czy skasować wszystkie definicje klawiszy w kasie?");
const QString kNieSkasowano = QStringLiteral("Nie udało się skasować definicji klawiszy");
const QString kSkasowano = QStringLiteral("Skasowano definicje klawiszy");

// The register's answer to too many payment keys in one write.
constexpr std::uint8_t kWynikZaDuzoPlatnosci = 229;

} // namespace

DefinicjeKlawiszy::DefinicjeKlawiszy(const WidokDefinicji& widok, StanProgramu& stan,
                                     Dialogi& dialogi, LaczeKasy& lacze)
    : m_widok(widok), m_stan(stan), m_dialogi(dialogi), m_lacze(lacze),
      m_katalogStartowy(QDir::currentPath()) {}

void DefinicjeKlawiszy::blad(const QString& tekst) {
    m_dialogi.blad(m_widok.okno, kTytulBledu, tekst);
}

void DefinicjeKlawiszy::informacja(const QString& tekst) {
    m_dialogi.informacja(m_widok.okno, QCoreApplication::applicationName(), tekst);
}

bool DefinicjeKlawiszy::wezNrKasy(QString& nr, const QString& brakKonfiguracji) {
    try {
        if (WczytajNrKasy(nr))
            return true;
    } catch (const BladProgramu& e) {
        blad(e.komunikat());
        return false;
    }
    informacja(brakKonfiguracji);
    if (m_widok.otworzOknoKomunik)
        m_widok.otworzOknoKomunik();
    // The dialog sets the program's register number when the user saves the parameters.
    nr = m_stan.NrKasy;
    return true;
}

void DefinicjeKlawiszy::bOdczytClick(const QString& nadawca) {
    if (nadawca != QLatin1String("bOdczytPlik")) {
        odczytajZKasy();
        return;
    }
    const Dialogi::WyborPliku wybor{QString(), m_katalogStartowy, m_nazwaOdczytu, kFiltr,
                                    kRozszerzenie};
    const auto plik = m_dialogi.otworzPlik(m_widok.okno, wybor);
    if (!plik)
        return;
    m_nazwaOdczytu = *plik;
    wczytajPlik(*plik);
}

bool DefinicjeKlawiszy::odczytajZKasy() {
    if (!wezNrKasy(m_stan.NrKasy, kUstawicOdczyt))
        return false;
    const std::optional<std::uint8_t> numer = NumerKasy(m_stan.NrKasy);
    if (!numer) {
        blad(TekstZlegoNumeruKasy(m_stan.NrKasy));
        return false;
    }
    if (!UtworzPlikWejsciowy(kPlikWejsciowy, *numer)) {
        blad(kNieStworzono);
        return false;
    }
    {
        // The request goes whether the call returns or throws.
        struct UsunZadanie {
            ~UsunZadanie() { QFile::remove(kPlikWejsciowy); }
        } usun;
        m_stan.NrBledu = m_lacze.ODefKlaw(kPlikWejsciowy, kPlikKlawiszy);
    }
    if (m_stan.NrBledu != 0) {
        // An older "klawisz.txt" is not what the register holds: nothing is loaded.
        PokazBlad(m_stan, m_dialogi, m_widok.okno, m_lacze.powodBledu());
        return false;
    }
    // The library writes into "klawisz.txt" in whatever letter case it finds one.
    const QString plik = plikBezWielkosci(QStringLiteral("."), kPlikKlawiszy);
    return wczytajPlik(plik.isEmpty() ? kPlikKlawiszy : plik);
}

bool DefinicjeKlawiszy::wczytajPlik(const QString& sciezka) {
    OdczytDefinicji odczyt;
    try {
        odczyt = CzytajPlikDefinicji(sciezka, m_stan.tabela);
    } catch (const BladProgramu& e) {
        blad(e.komunikat());
        return false;
    }
    if (odczyt.zlaLinia) {
        informacja(kBlednyFormat + TekstZlejLinii(*odczyt.zlaLinia));
        return false;
    }
    m_stan.tabela = odczyt.tabela;
    m_widok.ustawWarstwe(WarstwaBezposrednio);
    m_widok.wybierzKlawisz0();
    m_widok.wypelnijNapisy();
    if (m_widok.wczytano)
        m_widok.wczytano();
    return true;
}

void DefinicjeKlawiszy::bZapisClick(const QString& nadawca) {
    zapisz(nadawca == QLatin1String("bZapisPlik"));
}

void DefinicjeKlawiszy::zapisz(bool doPliku) {
    if (!wezNrKasy(m_stan.NrKasy, kUstawic)) {
        m_widok.wybierzKlawisz0();
        return;
    }
    QString plik = kPlikKlawiszy;
    if (doPliku) {
        const Dialogi::WyborPliku wybor{QString(), m_katalogStartowy, m_nazwaZapisu, kFiltr,
                                        kRozszerzenie};
        const auto wybrany = m_dialogi.zapiszPlik(m_widok.okno, wybor);
        if (!wybrany)
            return;
        m_nazwaZapisu = *wybrany;
        if (zastrzezonaNazwa(*wybrany)) {
            blad(kZastrzezona.arg(nazwaBezFolderu(*wybrany)));
            return;
        }
        plik = *wybrany;
    }

    try {
        ZapiszPlikDefinicji(plik, m_stan.tabela, m_stan.NrKasy);
    } catch (const BladProgramu& e) {
        // The old file is whole, and the register is not given a file that was not written.
        blad(e.komunikat());
        m_widok.wybierzKlawisz0();
        return;
    }

    if (doPliku) {
        if (m_widok.zapisano)
            m_widok.zapisano();
        informacja(kZapisanoDoPliku + plik);
    } else {
        try {
            m_stan.NrBledu = m_lacze.ZDefKlaw(plik);
            if (m_stan.NrBledu == 0) {
                if (m_widok.zapisano)
                    m_widok.zapisano();
                informacja(kZapisanoDoKasy + plik);
            } else if (m_stan.NrBledu == kWynikZaDuzoPlatnosci) {
                m_dialogi.komunikat(m_widok.okno, {kTytulBledu, kZaDuzoPlatnosci,
                                                   Dialogi::Ikona::Blad, Dialogi::Tak});
                return;
            } else {
                PokazBlad(m_stan, m_dialogi, m_widok.okno, m_lacze.powodBledu());
            }
        } catch (const std::exception&) {
            blad(kWyjatekZapisu);
        }
    }
    m_widok.wybierzKlawisz0();
}

void DefinicjeKlawiszy::bKasowanieClick() {
    if (!m_dialogi.pytanie(m_widok.okno, QStringLiteral("Uwaga"), kCzySkasowac))
        return;
    // This number is the delete's own; the program's register number stays as it was.
    QString nr;
    if (!wezNrKasy(nr, kUstawic))
        return;
    if (QFile::exists(kListaKasowania) && !QFile::remove(kListaKasowania))
        blad(kNieSkasowano);
    try {
        ZapiszListeKasowania(kListaKasowania, nr);
    } catch (const BladProgramu& e) {
        blad(e.komunikat());
        return;
    }
    m_stan.NrBledu = m_lacze.KDefKlaw(kListaKasowania);
    if (m_stan.NrBledu != 0) {
        PokazBlad(m_stan, m_dialogi, m_widok.okno, m_lacze.powodBledu());
        return;
    }
    m_stan.tabela.wyczyscWszystkieRodzaje();
    m_widok.wybierzKlawisz0();
    QFile::remove(kListaKasowania);
    m_widok.wypelnijNapisy();
    if (m_widok.wczytano)
        m_widok.wczytano();
    informacja(kSkasowano);
}
