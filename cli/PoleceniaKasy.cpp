#include "cli/PoleceniaKasy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "cli/FolderRoboczy.h"
#include "cli/RaportKasy.h"
#include "core/BladProgramu.h"
#include "keys/OpisDefinicji.h"
#include "transfer/LaczeKasy.h"
#include "transfer/ListyKasy.h"
#include "transfer/NrKasy.h"
#include "transfer/PlikDefinicji.h"

namespace {

// "towary.txt" of register 3 is "towary-03.txt": the window program's names, one per register.
QString nazwaDlaKasy(const QString& nazwa, int kasa) {
    const QFileInfo f(nazwa);
    return f.completeBaseName() + QLatin1Char('-') + NumerKasyTekstem(kasa) + QLatin1Char('.') +
           f.suffix();
}

class Polecenia {
public:
    // `folderWyjscia`: the output folder as an absolute name (the working folder is current).
    Polecenia(const ZlecenieKasy& z, LaczeKasy& lacze, const FolderRoboczy& folder,
              const QString& folderWyjscia, const TabelaKlawiszy& plik, const ListyPanelu& listy)
        : m_z(z), m_lacze(lacze), m_folder(folder), m_folderWyjscia(folderWyjscia), m_plik(plik),
          m_listy(listy) {}

    WynikKasy wykonaj(int kasa) {
        WynikKasy w;
        w.kasa = kasa;
        w.porownanie = m_z.polecenie == Polecenie::Porownaj;
        try {
            switch (m_z.polecenie) {
            case Polecenie::Odczyt: {
                const QString wyjscie = nazwaDlaKasy(QStringLiteral("kasa.txt"), kasa);
                w.kod = odczytaj(kasa, wyjscie);
                if (w.kod == 0)
                    opublikuj({wyjscie}, w);
                break;
            }
            case Polecenie::Zapis:
                ZapiszPlikDefinicji(kPlikKlawiszy, m_plik, QString::number(kasa));
                w.kod = m_lacze.ZDefKlaw(kPlikKlawiszy);
                break;
            case Polecenie::Kasowanie:
                ZapiszListeKasowania(kListaKasowania, QString::number(kasa));
                w.kod = m_lacze.KDefKlaw(kListaKasowania);
                break;
            case Polecenie::Towary:
                towary(w);
                break;
            case Polecenie::Porownaj:
                porownaj(w);
                break;
            }
        } catch (const BladProgramu& e) {
            w.blad = e.komunikat();
        }
        // The register's line of KONFIG.TXT is typed by hand here: which line, and what is
        // wrong; else the link's particulars (why the port did not open, what Wine said).
        if (w.kod != 0)
            w.powod = m_lacze.powodBledu();
        return w;
    }

private:
    // The outputs of the working folder into the user's, listed as the user named the folder.
    void opublikuj(const QStringList& nazwy, WynikKasy& w) const {
        std::vector<std::pair<QString, QString>> pliki;
        for (const QString& nazwa : nazwy)
            pliki.emplace_back(nazwa, QDir(m_folderWyjscia).filePath(nazwa));
        try {
            m_folder.opublikuj(pliki);
        } catch (const BladProgramu& e) {
            if (nazwy.size() == 1)
                throw;
            throw BladProgramu(
                QStringLiteral("%1 Nie zapisano żadnej z list; poprzednie zostały bez zmian.")
                    .arg(e.komunikat()));
        }
        for (const QString& nazwa : nazwy)
            w.pliki << QDir(m_z.folder).filePath(nazwa);
    }

    void zadanieOdczytu(int kasa) {
        if (!UtworzPlikWejsciowy(kPlikWejsciowy, static_cast<std::uint8_t>(kasa)))
            throw BladProgramu(QStringLiteral("Nie można utworzyć pliku wejściowego."));
    }

    std::uint8_t odczytaj(int kasa, const QString& wyjscie) {
        zadanieOdczytu(kasa);
        return m_lacze.ODefKlaw(kPlikWejsciowy, wyjscie);
    }

    void towary(WynikKasy& w) {
        zadanieOdczytu(w.kasa);
        using Eksport = std::uint8_t (LaczeKasy::*)(const QString&, const QString&);
        const std::pair<Eksport, const QString*> eksporty[] = {
            {&LaczeKasy::TowarMax, &kPlikTowarow},
            {&LaczeKasy::OPlat, &kPlikPlatnosci},
            {&LaczeKasy::OWaluta, &kPlikWalut}};
        QStringList wyjscia;
        for (const auto& [eksport, nazwa] : eksporty) {
            wyjscia << nazwaDlaKasy(*nazwa, w.kasa);
            w.kod = (m_lacze.*eksport)(kPlikWejsciowy, wyjscia.last());
            if (w.kod != 0)
                return;
        }
        // The three lists are one state of the register: all of them or none.
        opublikuj(wyjscia, w);
    }

    // Both sides go through the program's writer, so a difference is one the register sees,
    // not one of spelling (a type 2 line's closing TAB, a field no type uses).
    void porownaj(WynikKasy& w) {
        w.kod = odczytaj(w.kasa, kPlikKlawiszy);
        if (w.kod != 0)
            return;
        const OdczytDefinicji kasa = CzytajPlikDefinicji(kPlikKlawiszy, TabelaKlawiszy{});
        if (kasa.zlaLinia)
            throw BladProgramu(QStringLiteral("Niezrozumiała odpowiedź kasy: %1")
                                   .arg(TekstZlejLinii(*kasa.zlaLinia)));
        for (int warstwa :
             {WarstwaBezposrednio, WarstwaLewyAlt, WarstwaPrawyAlt, WarstwaLewyPrawyAlt})
            for (int k = 0; k < liczbaKlawiszy(warstwa); ++k) {
                const std::uint8_t kod = kodKlawisza(warstwa, k);
                const auto bezKodu = [&](const TabelaKlawiszy& t) {
                    const QByteArray l = LiniaDefinicji(kod, t.odczytaj(warstwa, k));
                    return l.mid(l.indexOf('\t') + 1);
                };
                const QByteArray wPliku = bezKodu(m_plik), wKasie = bezKodu(kasa.tabela);
                if (wPliku != wKasie)
                    w.roznice.push_back({nazwaKlawisza(warstwa, k), wPliku, wKasie,
                                         OpisDefinicji(m_plik.odczytaj(warstwa, k), m_listy),
                                         OpisDefinicji(kasa.tabela.odczytaj(warstwa, k), m_listy)});
            }
    }

    const ZlecenieKasy& m_z;
    LaczeKasy& m_lacze;
    const FolderRoboczy& m_folder;
    QString m_folderWyjscia;
    const TabelaKlawiszy& m_plik;
    const ListyPanelu& m_listy;
};

// The editor panel's lists from the window program's form, built into this program.
ListyPanelu listyOkna() {
    QFile formularz(QStringLiteral(":/formularz/TForm3.ui"));
    if (!formularz.open(QIODevice::ReadOnly))
        throw BladProgramu(QStringLiteral("Brak formularza okna w programie."));
    return CzytajListyPanelu(formularz);
}

// The configuration file: --konfig, else KONFIG.TXT of the current folder in any letter case.
QString sciezkaKonfiguracji(const ZlecenieKasy& z) {
    if (!z.konfiguracja.isEmpty()) {
        if (!QFileInfo::exists(z.konfiguracja))
            throw BladProgramu(QStringLiteral("Nie ma pliku konfiguracji %1.").arg(z.konfiguracja));
        return QFileInfo(z.konfiguracja).absoluteFilePath();
    }
    const QString sciezka = SciezkaKonfiguracji();
    if (sciezka.isEmpty())
        throw BladProgramu(QStringLiteral(
            "Brak pliku KONFIG.TXT w bieżącym folderze. Zapisz parametry komunikacji w programie "
            "do definiowania klawiszy albo podaj plik opcją --konfig."));
    return QFileInfo(sciezka).absoluteFilePath();
}

// The key-definition file, header included: any file without one is likelier to be something
// else picked by mistake than keys meant for every register named.
TabelaKlawiszy czytajPlik(const QString& sciezka) {
    const OdczytDefinicji odczyt = CzytajPlikDefinicji(sciezka, TabelaKlawiszy{});
    if (odczyt.zlaLinia && odczyt.numerZlejLinii <= 3 && odczyt.zlaLinia->isEmpty())
        throw BladProgramu(
            QStringLiteral("Błędny format pliku %1: brak nagłówka (trzech linii „#”).")
                .arg(sciezka));
    if (!odczyt.pierwszaLinia.startsWith('#'))
        throw BladProgramu(QStringLiteral("Błędny format pliku %1, linia 1: %2 (nagłówek pliku "
                                          "definicji zaczyna się od „#”).")
                               .arg(sciezka, TekstZlejLinii(odczyt.pierwszaLinia)));
    if (odczyt.zlaLinia)
        throw BladProgramu(QStringLiteral("Błędny format pliku %1, linia %2: %3")
                               .arg(sciezka)
                               .arg(odczyt.numerZlejLinii)
                               .arg(TekstZlejLinii(*odczyt.zlaLinia)));
    return odczyt.tabela;
}

QString listaKas(const std::vector<int>& kasy) {
    QStringList t;
    for (int k : kasy)
        t << QString::number(k);
    return t.join(QStringLiteral(", "));
}

} // namespace

int WykonajZlecenie(const ZlecenieKasy& z, SrodowiskoKasy& s) {
    bool bladKasy = false, roznice = false;
    try {
        const QString konfiguracja = sciezkaKonfiguracji(z);
        std::vector<int> kasy = z.kasy;
        if (z.wszystkie) {
            kasy.clear();
            for (std::uint8_t k : NumeryKasZKonfiguracji(konfiguracja))
                kasy.push_back(k);
            if (kasy.empty())
                throw BladProgramu(
                    QStringLiteral("Plik %1 nie wymienia żadnej kasy.").arg(konfiguracja));
        }
        TabelaKlawiszy plik;
        if (z.polecenie == Polecenie::Zapis || z.polecenie == Polecenie::Porownaj)
            plik = czytajPlik(z.plik);
        const ListyPanelu listy = z.polecenie == Polecenie::Porownaj ? listyOkna() : ListyPanelu{};
        if (z.polecenie == Polecenie::Kasowanie && !z.tak &&
            !s.pytanie(QStringLiteral("Czy skasować wszystkie definicje klawiszy w kasach: %1?")
                           .arg(listaKas(kasy))))
            throw BladProgramu(QStringLiteral("Nie skasowano definicji klawiszy."));

        const bool zPlikami = z.polecenie == Polecenie::Odczyt || z.polecenie == Polecenie::Towary;
        if (zPlikami && !QDir().mkpath(z.folder))
            throw BladProgramu(QStringLiteral("Nie można utworzyć folderu %1.").arg(z.folder));
        const QString folderWyjscia = QDir(z.folder).absolutePath();
        const FolderRoboczy folder(konfiguracja, QDir::currentPath());
        Polecenia polecenia(z, s.lacze, folder, folderWyjscia, plik, listy);
        for (int kasa : kasy) {
            s.naKase(kasa);
            const WynikKasy w = polecenia.wykonaj(kasa);
            s.raport.wynik(w);
            bladKasy = bladKasy || !w.udany();
            roznice = roznice || !w.roznice.empty();
            if (s.raport.wyjscieZamkniete())
                break; // nobody reads the results: the other registers are left alone
        }
    } catch (const BladProgramu& e) {
        s.raport.blad(e.komunikat());
        s.raport.zakoncz();
        return kWyjscieNieWykonano;
    }
    s.raport.zakoncz();
    if (s.raport.wyjscieZamkniete())
        return kWyjscieNieWykonano;
    // porownaj answers like diff: 1 for differences, 2 when it could not tell.
    if (z.polecenie == Polecenie::Porownaj)
        return bladKasy ? kWyjscieNieWykonano : roznice ? kWyjscieBladKasy : kWyjscieOk;
    return bladKasy ? kWyjscieBladKasy : kWyjscieOk;
}
