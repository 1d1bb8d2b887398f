// The four buttons under "Definicje klawiszy" on the real main window, with the register
// libraries talking to the emulator on a pseudo-terminal published as "com1" in the working
// folder. Each case clicks as a user would and checks the table, the messages and the files.
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "app/TForm3.h"
#include "comm/FalszyweLacze.h"
#include "comm/okno/TOknoKomunik.h"
#include "core/BladProgramu.h"
#include "core/okno/Klepsydra.h"
#include "core/okno/SkryptDialogi.h"
#include "core/okno/TRadioGroup.h"
#include "keys/StanProgramu.h"
#include "transfer/KodyBledow.h"
#include "transfer/PlikDefinicji.h"
#include "transfer/okno/OczekiwanieZKlepsydra.h"
#include "ui_TForm3.h"
#include "ui_TOknoKomunik.h"
#include "wspolne/EmulatorTestowy.h"

namespace {

// Every kind on some key, values a register accepts, five payments; direct F1 a function.
// `zKodami` gives each record its key code, as the reader does.
TabelaKlawiszy wszystkieRodzaje(bool zKodami = false) {
    TabelaKlawiszy t;
    int i = 0;
    for (int w : {WarstwaBezposrednio, WarstwaLewyAlt, WarstwaPrawyAlt, WarstwaLewyPrawyAlt})
        for (int k = 0; k < liczbaKlawiszy(w); ++k, ++i) {
            TDefKlawisza d;
            d.Kod = zKodami ? kodKlawisza(w, k) : 0;
            d.Rodzaj = std::uint8_t((i + 2) % 6);
            switch (d.Rodzaj) {
            case RodzajTowar:
                d.PLU = std::uint16_t(100 + i * 100);
                d.Pojedynczo = i & 1;
                d.Zaplata = (i >> 1) & 1;
                d.Paragon = 1;
                break;
            case RodzajFunkcja:
                d.Numer = std::uint8_t(1 + i);
                break;
            case RodzajPlatnosc:
            case RodzajWaluta:
                d.Numer = std::uint8_t(1 + i % 7);
                d.Kwota = std::int64_t(i) * 1234567;
                break;
            case RodzajRabatNarzut:
                d.Numer = std::uint8_t(1 + i % 4);
                d.Wartosc = d.Numer <= 2 ? 1 + i * 3 : 250000 + i;
                d.Zakres = std::uint8_t(1 + i % 3);
                break;
            }
            t.zapisz(w, k, d);
        }
    return t;
}

int liczbaZdefiniowanych(const TabelaKlawiszy& t) {
    int n = 0;
    for (int w = 0; w < 4; ++w)
        for (int k = 0; k < liczbaKlawiszy(w); ++k)
            n += t.odczytaj(w, k).Rodzaj != RodzajNiezdefiniowany;
    return n;
}

class LaczeRzucajace : public FalszyweLacze {
public:
    std::uint8_t ZDefKlaw(const QString&) override { throw BladProgramu("awaria"); }
};

} // namespace

class TestDefinicjeEmulator : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void kasaIPlikTamIZPowrotem();
    void kasowanieIOdczyt();
    void usterkiKasyNicNieZmieniaja_data();
    void usterkiKasyNicNieZmieniaja();
    void bezKonfiguracji();
    void zapisDoPliku_data();
    void zapisDoPliku();
    void zlyPlikNicNieZmienia();
    void zaDuzoPlatnosciIWyjatek();

private:
    void uruchom(const QStringList& argumenty = {}) { QVERIFY(m_folder->uruchom(argumenty)); }
    void kliknij(QPushButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    QString ostatni() const { return m_dialogi->ostatni().tekst; }

    std::unique_ptr<FolderZEmulatorem> m_folder;
    std::unique_ptr<StanProgramu> m_stan;
    std::unique_ptr<SkryptDialogi> m_dialogi;
    std::unique_ptr<Klepsydra> m_klepsydra;
    std::unique_ptr<BibliotekiKasy> m_lacze;
    std::unique_ptr<TForm3> m_okno;
    std::unique_ptr<TOknoKomunik> m_komunik;
    Ui::TForm3* m_ui = nullptr;
};

void TestDefinicjeEmulator::init() {
    m_folder = std::make_unique<FolderZEmulatorem>("$01\tcom1:9600:mux0:1\t1\r\n");
    m_stan = std::make_unique<StanProgramu>();
    m_dialogi = std::make_unique<SkryptDialogi>();
    m_klepsydra = std::make_unique<Klepsydra>();
    m_lacze = std::make_unique<BibliotekiKasy>(oczekiwanieZKlepsydra(*m_klepsydra));
    m_okno = std::make_unique<TForm3>(*m_stan, *m_dialogi);
    m_komunik = std::make_unique<TOknoKomunik>(*m_stan, *m_dialogi, *m_lacze, m_okno.get());
    m_okno->ustawKomunikacje([this] { return m_komunik.get(); }, *m_lacze);
    m_ui = m_okno->ui;
    m_okno->show();
}

void TestDefinicjeEmulator::cleanup() {
    m_komunik.reset();
    m_okno.reset();
    m_folder.reset();
}

void TestDefinicjeEmulator::kasaIPlikTamIZPowrotem() {
    uruchom();
    m_stan->tabela = wszystkieRodzaje();
    kliknij(m_ui->bZapis);
    QCOMPARE(ostatni(),
             QStringLiteral("Definicje klawiszy zapisano do kasy i do pliku klawisz.txt"));

    m_stan->tabela = TabelaKlawiszy{};
    m_ui->rgAlty->setItemIndex(WarstwaLewyAlt);
    m_dialogi->wyczysc();
    kliknij(m_ui->bOdczyt);
    QVERIFY2(m_dialogi->pokazane.empty(), qPrintable(ostatni()));
    QCOMPARE(m_stan->tabela, wszystkieRodzaje(true));
    QCOMPARE(m_ui->rgAlty->itemIndex(), int(WarstwaBezposrednio));
    QVERIFY(!m_ui->edit0->text().isEmpty()); // direct F1 is a function: its label is filled
    QVERIFY(!QFile::exists(kPlikWejsciowy));

    const QString kopia = m_folder->filePath("kopia.txt");
    m_dialogi->pliki = {kopia, kopia};
    kliknij(m_ui->bZapisPlik);
    QCOMPARE(ostatni(), "Definicje klawiszy zapisano do pliku " + kopia);
    m_stan->tabela = TabelaKlawiszy{};
    kliknij(m_ui->bOdczytPlik);
    QCOMPARE(m_stan->tabela, wszystkieRodzaje(true));
}

void TestDefinicjeEmulator::kasowanieIOdczyt() {
    uruchom();
    m_stan->tabela = wszystkieRodzaje();
    kliknij(m_ui->bZapis);
    m_dialogi->odpowiedzi = {Dialogi::Tak};
    kliknij(m_ui->bKasowanie);
    QCOMPARE(m_dialogi->pokazane.at(1).komunikat.tytul, QStringLiteral("Uwaga"));
    QCOMPARE(ostatni(), QStringLiteral("Skasowano definicje klawiszy"));
    QCOMPARE(liczbaZdefiniowanych(m_stan->tabela), 0);
    QVERIFY(!QFile::exists(kListaKasowania));

    m_stan->tabela = wszystkieRodzaje();
    kliknij(m_ui->bOdczyt);
    QCOMPARE(liczbaZdefiniowanych(m_stan->tabela), 0);
    // Answering No leaves everything as it was.
    m_stan->tabela = wszystkieRodzaje();
    m_dialogi->odpowiedzi = {Dialogi::Nie};
    kliknij(m_ui->bKasowanie);
    QCOMPARE(m_stan->tabela, wszystkieRodzaje());
}

void TestDefinicjeEmulator::usterkiKasyNicNieZmieniaja_data() {
    QTest::addColumn<QStringList>("usterka");
    QTest::addColumn<int>("kod");
    QTest::newRow("cisza") << QStringList{"--no-reply"} << 21;
    QTest::newRow("nak") << QStringList{"--nak"} << 24;
    QTest::newRow("zepsute ramki") << QStringList{"--corrupt"} << 23;
    QTest::newRow("rozlaczenie") << QStringList{"--disconnect-after", "15"} << 21;
    QTest::newRow("inny numer kasy") << QStringList{"--wrong-number"} << 22;
}

void TestDefinicjeEmulator::usterkiKasyNicNieZmieniaja() {
    QFETCH(QStringList, usterka);
    QFETCH(int, kod);
    uruchom(usterka);
    const QByteArray stary = TekstPlikuDefinicji(TabelaKlawiszy{}, "01");
    zapiszPlik(kPlikKlawiszy, stary);
    m_stan->tabela = wszystkieRodzaje();
    kliknij(m_ui->bOdczyt);
    QCOMPARE(int(m_stan->NrBledu), kod);
    QCOMPARE(ostatni(), TekstBledu(std::uint8_t(kod)));
    QCOMPARE(m_stan->tabela, wszystkieRodzaje());
    QCOMPARE(zawartosc(kPlikKlawiszy), stary);
    QVERIFY(!QFile::exists(kPlikWejsciowy));
}

// Without KONFIG.TXT the user is sent to the communication dialog; the delete then names the
// register the dialog saved.
void TestDefinicjeEmulator::bezKonfiguracji() {
    uruchom();
    QVERIFY(QFile::remove("KONFIG.TXT"));
    QTimer::singleShot(0, m_komunik.get(), [this] { kliknij(m_komunik->ui->KlawZapis); });
    m_dialogi->odpowiedzi = {Dialogi::Tak};
    kliknij(m_ui->bKasowanie);
    QCOMPARE(m_dialogi->teksty(),
             (QStringList{"Czy skasować wszystkie definicje klawiszy w kasie?",
                          "Należy ustawić parametry komunikacji", "Skasowano definicje klawiszy"}));

    // A register number that is no number is told, and nothing is asked of the register.
    zapiszPlik("KONFIG.TXT", "$ab\tcom1:9600:mux0:1\t1\r\n");
    m_stan->tabela = wszystkieRodzaje();
    kliknij(m_ui->bOdczyt);
    QVERIFY2(ostatni().startsWith("Numer kasy \"ab\" nie jest liczbą."), qPrintable(ostatni()));
    QCOMPARE(m_stan->tabela, wszystkieRodzaje());

    // A port that does not open: the library's reason stands under the message of 62.
    zapiszPlik("KONFIG.TXT", "$01\tcom9:9600:mux0:1\t1\r\n");
    QVERIFY(QFile::link("/nie/ma/adaptera", "com9"));
    kliknij(m_ui->bOdczyt);
    QVERIFY2(ostatni().startsWith(TekstBledu(62) + "\rPort "), qPrintable(ostatni()));

    // A KONFIG.TXT the library cannot read: what is wrong, and in which line, under the message.
    zapiszPlik("KONFIG.TXT", "$01 com1:9600:mux0:1 1\r\n");
    kliknij(m_ui->bOdczyt);
    QVERIFY2(ostatni().startsWith(TekstBledu(m_stan->NrBledu) + "\rlinia 1: "),
             qPrintable(ostatni()));
}

void TestDefinicjeEmulator::zapisDoPliku_data() {
    QTest::addColumn<QString>("nazwa");
    QTest::addColumn<QString>("komunikat"); // %1 is the full path
    const QString zastrzezona = QStringLiteral("BŁĄD ZAPISU: ZASTRZEŻONA NAZWA PLIKU (%1)");
    QTest::newRow("konfig") << "konfig.txt" << zastrzezona.arg("konfig.txt");
    QTest::newRow("raport w folderze") << "pod/Raport.Txt" << zastrzezona.arg("Raport.Txt");
    QTest::newRow("konfig.bak") << "konfig.txt.bak"
                                << "Definicje klawiszy zapisano do pliku %1";
    QTest::newRow("mykonfig") << "MYKONFIG.TXT"
                              << "Definicje klawiszy zapisano do pliku %1";
    QTest::newRow("brak folderu") << "brak/k.txt"
                                  << "Nie można utworzyć pliku \"%1\": nie ma takiego pliku "
                                     "ani folderu.";
    QTest::newRow("gniazdo") << "gniazdo.txt"
                             << "Nie można utworzyć pliku \"%1\": to nie jest zwykły plik, "
                                "lecz urządzenie, potok lub gniazdo.";
}

void TestDefinicjeEmulator::zapisDoPliku() {
    QFETCH(QString, nazwa);
    QFETCH(QString, komunikat);
    QVERIFY(QDir().mkpath("pod"));
    const QString sciezka = m_folder->filePath(nazwa);
    if (nazwa.startsWith("gniazdo")) {
        // A socket where the file would go (a FIFO would hang the check of its content).
        const int s = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        const QByteArray p = QFile::encodeName(sciezka);
        QVERIFY(std::size_t(p.size()) < sizeof a.sun_path);
        std::memcpy(a.sun_path, p.constData(), std::size_t(p.size()));
        QCOMPARE(::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
        ::close(s);
    }
    m_dialogi->pliki = {sciezka};
    kliknij(m_ui->bZapisPlik);
    QCOMPARE(ostatni(), komunikat.contains("%1") ? komunikat.arg(sciezka) : komunikat);
    const bool zapisany = komunikat.startsWith("Definicje");
    QCOMPARE(zawartosc(sciezka).count("\r\n"), zapisany ? 31 : 0);
}

// D4: a bad line or a missing file leaves the table and the labels as they were.
void TestDefinicjeEmulator::zlyPlikNicNieZmienia() {
    m_stan->tabela = wszystkieRodzaje();
    m_ui->edit0->setText("STARY");
    zapiszPlik("zly.txt", "#1\r\n#\r\n#\r\n$176\t2\t1\t\r\nxx\r\n");
    m_dialogi->pliki = {m_folder->filePath("zly.txt"), m_folder->filePath("brak.txt")};
    kliknij(m_ui->bOdczytPlik);
    QCOMPARE(ostatni(), QStringLiteral("Błędny format pliku wejsciowegoxx"));
    kliknij(m_ui->bOdczytPlik);
    QVERIFY2(ostatni().startsWith("Nie można otworzyć pliku"), qPrintable(ostatni()));
    QCOMPARE(m_stan->tabela, wszystkieRodzaje());
    QCOMPARE(m_ui->edit0->text(), QStringLiteral("STARY"));
}

void TestDefinicjeEmulator::zaDuzoPlatnosciIWyjatek() {
    uruchom();
    TDefKlawisza platnosc;
    platnosc.Rodzaj = RodzajPlatnosc;
    platnosc.Numer = 1;
    for (int k = 0; k < 9; ++k)
        m_stan->tabela.zapisz(WarstwaLewyAlt, k, platnosc);
    kliknij(m_ui->bZapis);
    const Dialogi::Komunikat k = m_dialogi->ostatni();
    QCOMPARE(
        k.tekst,
        QStringLiteral("Zbyt dużo płatności.Należy skasować wszystkie klawisze i ponowić zapis."));
    QCOMPARE(k.przyciski, int(Dialogi::Tak));

    LaczeRzucajace rzucajace;
    m_okno->ustawKomunikacje([this] { return m_komunik.get(); }, rzucajace);
    kliknij(m_ui->bZapis);
    QCOMPARE(ostatni(), QStringLiteral("Wystąpił wyjątek w zapisie definicji klawiszy"));
}

QTEST_MAIN(TestDefinicjeEmulator)
#include "test_definicje_emulator.moc"
