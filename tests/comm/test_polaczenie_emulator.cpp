// The communication dialog over a real serial line: the register libraries talk to the
// emulator on a pseudo-terminal published as "comN" in the working folder. Each case sets the
// dialog's values, clicks "Połącz" or "Zapisz" and checks what the user is told, the register
// number the program holds and the files on disk, byte for byte.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "comm/okno/TOknoKomunik.h"
#include "core/BladProgramu.h"
#include "core/okno/Klepsydra.h"
#include "core/okno/SkryptDialogi.h"
#include "core/okno/TRadioGroup.h"
#include "keys/StanProgramu.h"
#include "transfer/KodyBledow.h"
#include "transfer/LaczeKasy.h"
#include "transfer/NrKasy.h"
#include "transfer/okno/OczekiwanieZKlepsydra.h"
#include "ui_TOknoKomunik.h"
#include "wspolne/EmulatorTestowy.h"

namespace {

const QString kPortNie = QStringLiteral("Niemożliwe zainicjowanie portu szeregowego");
const QString kNieTalmo = QStringLiteral("Podłączone urządzenie nie jest kasą TALMO PIXO E");
const QString kNieZapisano = QStringLiteral("Nie zapisano parametrów komunikacji.");

// Also notes whether the busy cursor was up while a box was shown.
class DialogiZKursorem : public SkryptDialogi {
public:
    QList<bool> zKlepsydra;
    Przycisk komunikat(QWidget* rodzic, const Komunikat& k) override {
        zKlepsydra << (QGuiApplication::overrideCursor() != nullptr);
        return SkryptDialogi::komunikat(rodzic, k);
    }
};

} // namespace

class TestPolaczenieEmulator : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void zapisBezTestu();
    void zapisPort12();
    void nieudanyZapisNaDysku();
    void kasaPixoE();
    void modele_data();
    void modele();
    void kanalyMultipleksera_data();
    void kanalyMultipleksera();
    void usterkiLacza_data();
    void usterkiLacza();
    void brakPortu();
    void numerNieDziesietny();
    void czekanieBezBlokowaniaOkna();

private:
    // Starts the emulator in the working folder as com1 with `argumenty`.
    void uruchom(const QStringList& argumenty) { QVERIFY(m_folder->uruchom(argumenty)); }
    void polacz() { QTest::mouseClick(m_ui->KlawPolacz, Qt::LeftButton); }

    std::unique_ptr<FolderZEmulatorem> m_folder;
    std::unique_ptr<StanProgramu> m_stan;
    std::unique_ptr<DialogiZKursorem> m_dialogi;
    std::unique_ptr<Klepsydra> m_klepsydra;
    std::unique_ptr<BibliotekiKasy> m_lacze;
    std::unique_ptr<TOknoKomunik> m_okno;
    Ui::TOknoKomunik* m_ui = nullptr;
};

void TestPolaczenieEmulator::init() {
    m_folder = std::make_unique<FolderZEmulatorem>();
    m_stan = std::make_unique<StanProgramu>();
    m_dialogi = std::make_unique<DialogiZKursorem>();
    m_klepsydra = std::make_unique<Klepsydra>();
    m_lacze = std::make_unique<BibliotekiKasy>(oczekiwanieZKlepsydra(*m_klepsydra));
    m_okno = std::make_unique<TOknoKomunik>(*m_stan, *m_dialogi, *m_lacze);
    m_ui = m_okno->ui;
    m_okno->show();
}

void TestPolaczenieEmulator::cleanup() {
    m_okno.reset();
    m_folder.reset();
}

void TestPolaczenieEmulator::zapisBezTestu() {
    QTest::mouseClick(m_ui->KlawZapis, Qt::LeftButton);
    QCOMPARE(zawartosc("in"), QByteArray("#01\r\n#\r\n#\r\n"));
    QCOMPARE(zawartosc("KONFIG.TXT"), QByteArray("$01\tcom1:9600:mux0:1\t5\r\n"));
    QVERIFY(!m_okno->isVisible());
    QVERIFY(m_dialogi->pokazane.empty());
}

// An older konfig.txt in lower case is the file that gets replaced, not a second one; with no
// test in this run its register stays the one named, and the other register's line stays.
void TestPolaczenieEmulator::zapisPort12() {
    QFile stary("konfig.txt");
    QVERIFY(stary.open(QIODevice::WriteOnly));
    stary.write("$05\tcom3:9600:mux0:1\t5\r\n$2\tcom4:9600:mux0:1\t5\r\n");
    stary.close();
    m_ui->seCOM->setValue(12);
    m_ui->GrupaSzybkosc->setItemIndex(3);
    m_ui->WartoscTimeout->setValue(1000);
    m_ui->GrupaKanal->setItemIndex(2);
    m_okno->KlawZapisClick();
    QCOMPARE(zawartosc(QDir().entryList({"konfig.txt"}, QDir::Files, QDir::Name).value(0)),
             QByteArray("$05\tcom12:57600:mux0:1\t1000\r\n$2\tcom4:9600:mux0:1\t5\r\n"));
    QCOMPARE(QDir().entryList(QDir::Files).filter("konfig", Qt::CaseInsensitive).size(), 1);
    QCOMPARE(zawartosc("in"), QByteArray("#05\r\n#\r\n#\r\n"));
    QString nr;
    QVERIFY(WczytajNrKasy(nr));
    QCOMPARE(nr, QStringLiteral("05"));
}

// A name the line writer cannot replace (a folder stands there): the user is told which file
// and why, not an earlier call's result, and the dialog stays open; a failed "in" leaves
// KONFIG.TXT unwritten.
void TestPolaczenieEmulator::nieudanyZapisNaDysku() {
    const auto komunikat = [](const QString& plik) {
        return QStringList{kNieZapisano + "\rNie można zapisać pliku \"" +
                           QDir::current().absoluteFilePath(plik) +
                           "\": pod tą nazwą jest folder."};
    };
    QVERIFY(QDir().mkdir("in"));
    m_okno->KlawZapisClick();
    QCOMPARE(m_dialogi->teksty(), komunikat("in"));
    QVERIFY(m_okno->isVisible());
    QVERIFY(!QFile::exists("KONFIG.TXT"));

    QVERIFY(QDir().rmdir("in"));
    QVERIFY(QDir().mkdir("KONFIG.TXT"));
    m_dialogi->wyczysc();
    m_stan->NrBledu = 20;
    m_okno->KlawZapisClick();
    QCOMPARE(m_dialogi->teksty(), komunikat("KONFIG.TXT"));
    QVERIFY(m_okno->isVisible());
    QCOMPARE(zawartosc("in"), QByteArray("#01\r\n#\r\n#\r\n"));
    QVERIFY(QFileInfo("KONFIG.TXT").isDir());
}

// The register answers 139 and the characters 0 and 7: identified, saved by itself as #7/$7.
void TestPolaczenieEmulator::kasaPixoE() {
    uruchom({"--number", "07"});
    polacz();
    QCOMPARE(m_dialogi->teksty(),
             QStringList{QStringLiteral("Połączenie poprawne - kasa :TALMO PIXO E 3071 PLU")});
    QCOMPARE(m_okno->KodModelu(), 9);
    QCOMPARE(m_stan->WartoscNrKasy, 7);
    QCOMPARE(m_stan->NrKasy, QStringLiteral("7"));
    QCOMPARE(zawartosc("in"), QByteArray("#7\r\n#\r\n#\r\n"));
    QCOMPARE(zawartosc("KONFIG.TXT"), QByteArray("$7\tcom1:9600:mux0:1\t5\r\n"));
    QVERIFY(!m_okno->isVisible());
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);

    // The port was closed after the test: another test opens it again at once.
    m_okno->show();
    m_dialogi->wyczysc();
    QCOMPARE(m_okno->TestPolaczenia(), QStringLiteral("0907"));
    QCOMPARE(m_stan->NrKasy, QStringLiteral("07"));
}

void TestPolaczenieEmulator::modele_data() {
    QTest::addColumn<int>("bajt");
    QTest::addColumn<int>("model");
    const std::pair<int, int> pary[] = {{104, 1}, {103, 2}, {101, 3}, {100, 4}, {102, 5},
                                        {107, 6}, {132, 7}, {133, 8}, {105, 0}, {0, 0}};
    for (const auto& [bajt, model] : pary)
        QTest::addRow("%d", bajt) << bajt << model;
}

// Any other model: the user is told, nothing is saved, "Zapisz" keeps its state.
void TestPolaczenieEmulator::modele() {
    QFETCH(int, bajt);
    QFETCH(int, model);
    uruchom({"--model", QString::number(bajt), "--number", "03"});
    polacz();
    QCOMPARE(m_okno->KodModelu(), model);
    QCOMPARE(m_dialogi->teksty(), QStringList{kNieTalmo});
    QCOMPARE(m_stan->NrKasy, QStringLiteral("03"));
    QVERIFY(m_ui->KlawZapis->isEnabled());
    QVERIFY(m_okno->isVisible());
    QVERIFY(!QFile::exists("in"));
    QVERIFY(!QFile::exists("KONFIG.TXT"));
}

void TestPolaczenieEmulator::kanalyMultipleksera_data() {
    QTest::addColumn<int>("kanal");
    QTest::addColumn<QString>("komunikat");
    QTest::addColumn<QByteArray>("konfig");
    QTest::newRow("nr 2") << 2 << "Połączenie poprawne - kasa :TALMO PIXO E 3071 PLU"
                          << QByteArray("$12\tcom1:19200:mux1:2\t5\r\n");
    QTest::newRow("nr 3") << 3 << kNieTalmo << QByteArray("<brak>");
    QTest::newRow("nr 4") << 4 << "Połączenie poprawne - kasa :TALMO PIXO E 3071 PLU"
                          << QByteArray("$4\tcom1:19200:mux1:4\t5\r\n");
}

void TestPolaczenieEmulator::kanalyMultipleksera() {
    QFETCH(int, kanal);
    QFETCH(QString, komunikat);
    QFETCH(QByteArray, konfig);
    uruchom({"--baud", "19200", "--mux", "1=01,2=12,3=07:100,4=04"});
    m_ui->GrupaSzybkosc->setItemIndex(1);
    m_ui->GrupaMux->setItemIndex(1);
    m_ui->GrupaKanal->setItemIndex(kanal - 1);
    polacz();
    QCOMPARE(m_dialogi->teksty(), QStringList{komunikat});
    QCOMPARE(zawartosc("KONFIG.TXT"), konfig);
}

void TestPolaczenieEmulator::usterkiLacza_data() {
    QTest::addColumn<QString>("usterka");
    QTest::addColumn<int>("kod");
    QTest::newRow("brak odpowiedzi") << "--no-reply" << 21;
    QTest::newRow("NAK") << "--nak" << 24;
    QTest::newRow("uszkodzone ramki") << "--corrupt" << 23;
}

// A failing command: its result code and message within the timeout plus a second, the port
// closed, "Zapisz" disabled, nothing written.
void TestPolaczenieEmulator::usterkiLacza() {
    QFETCH(QString, usterka);
    QFETCH(int, kod);
    uruchom({usterka});
    m_ui->WartoscTimeout->setValue(1);
    QElapsedTimer czas;
    czas.start();
    polacz();
    QVERIFY2(czas.elapsed() < 2000, qPrintable(QString::number(czas.elapsed())));
    QCOMPARE(m_stan->NrBledu, std::uint8_t(kod));
    QCOMPARE(m_dialogi->teksty(), QStringList{TekstBledu(static_cast<std::uint8_t>(kod))});
    QVERIFY(!m_ui->KlawZapis->isEnabled());
    QVERIFY(!QFile::exists("KONFIG.TXT"));
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    QCOMPARE(m_dialogi->zKlepsydra, QList<bool>{false});
}

void TestPolaczenieEmulator::brakPortu() {
    m_stan->NrBledu = 7;
    m_ui->seCOM->setValue(42);
    polacz();
    // The reason stands on a second line: no such port here.
    QCOMPARE(m_dialogi->teksty().size(), 1);
    QVERIFY2(m_dialogi->teksty()[0].startsWith(kPortNie + "\rPort "),
             qPrintable(m_dialogi->teksty()[0]));
    QVERIFY(
        m_dialogi->teksty()[0].endsWith("nie istnieje (brak urządzenia lub zerwane dowiązanie)."));
    QCOMPARE(m_stan->NrBledu, std::uint8_t(0));
    QVERIFY(!m_ui->KlawZapis->isEnabled());
}

void TestPolaczenieEmulator::numerNieDziesietny() {
    uruchom({"--number", "A7"});
    QVERIFY_THROWS_EXCEPTION(BladProgramu, m_okno->KlawPolaczClick());
    QCOMPARE(m_stan->NrKasy, QStringLiteral("A7"));
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    QVERIFY(m_dialogi->pokazane.empty());
}

// While the register answers slowly the window still runs its timers with the hourglass shown,
// and a click on "Anuluj" meanwhile is not taken.
void TestPolaczenieEmulator::czekanieBezBlokowaniaOkna() {
    uruchom({"--turnaround", "400", "--number", "02"});
    bool tyknal = false;
    bool klepsydra = false;
    int anulowano = 0;
    connect(m_ui->KlawEsc, &QPushButton::clicked, this, [&] { ++anulowano; });
    QTimer::singleShot(200, m_okno.get(), [&] {
        tyknal = true;
        klepsydra = m_klepsydra->widoczny() && QGuiApplication::overrideCursor() != nullptr;
        QTest::mouseClick(m_ui->KlawEsc, Qt::LeftButton);
    });
    m_ui->WartoscTimeout->setValue(3);
    polacz();
    QVERIFY(tyknal);
    QVERIFY(klepsydra);
    QCOMPARE(m_dialogi->teksty(),
             QStringList{QStringLiteral("Połączenie poprawne - kasa :TALMO PIXO E 3071 PLU")});
    QCOMPARE(anulowano, 0);
    QCOMPARE(zawartosc("KONFIG.TXT"), QByteArray("$2\tcom1:9600:mux0:1\t3\r\n"));
    m_okno->show();
    QTest::mouseClick(m_ui->KlawEsc, Qt::LeftButton);
    QCOMPARE(anulowano, 1);
}

QTEST_MAIN(TestPolaczenieEmulator)
#include "test_polaczenie_emulator.moc"
