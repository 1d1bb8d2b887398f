// The maker's DLLs through Wine, played by our own libraries built as 32-bit Windows DLLs
// (link/windows) against the emulator on a pseudo-terminal: the window program's register
// operations, files byte for byte as the program's own libraries write them, pixo-kasa on a
// multiplexer, thousands of calls per function, and each fault of the way.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <csignal>

#include "app/TForm3.h"
#include "comm/okno/TOknoKomunik.h"
#include "core/okno/Klepsydra.h"
#include "core/okno/OknoPostepu.h"
#include "core/okno/SkryptDialogi.h"
#include "core/okno/TRadioGroup.h"
#include "keys/StanProgramu.h"
#include "transfer/KodyBledow.h"
#include "transfer/WyborBibliotek.h"
#include "transfer/okno/OczekiwanieZKlepsydra.h"
#include "ui_TForm3.h"
#include "ui_TOknoKomunik.h"
#include "wspolne/EmulatorTestowy.h"

namespace {

const QByteArray kZadanie = "#1\r\n#\r\n#\r\n";

QString zbudowane(const QString& plik) {
    return qEnvironmentVariable("PIXO_BUILD_DIR") + QStringLiteral("/windows/") + plik;
}

// The goods base with one-letter names: a paced transfer of it lasts about a second.
void krotkieTowary() {
    QVERIFY(QDir().mkpath("stan"));
    QByteArray towary;
    for (int plu = 1; plu <= 3071; ++plu)
        towary += QByteArray::number(plu) + "\tA\n";
    zapiszPlik("stan/towary.txt", towary);
}

// The call runs at once, on the caller's thread: the way through the bridge is under test.
BibliotekiKasy::Oczekiwanie odRazu() {
    return [](const std::function<std::uint8_t()>& wywolanie, const PostepPracy&) {
        return wywolanie();
    };
}

QStringList ukryte() {
    return QDir().entryList(QDir::Files | QDir::Hidden).filter(QRegularExpression("^\\."));
}

} // namespace

class TestWine : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void oknoPrzezWine();
    void plikiJakBibliotekProgramu();
    void pixoKasaNaMultiplekserze();
    void tysiaceWywolan();
    void usterki_data();
    void usterki();
    void awariaMostuWTrakcie();

private:
    BibliotekiWine::Pliki pliki() const {
        return {m_folder->filePath("Kavrel.dll"), m_folder->filePath("Sevrin.dll")};
    }
    void uruchom(const QStringList& argumenty = {}) { QVERIFY(m_folder->uruchom(argumenty)); }

    std::unique_ptr<FolderZEmulatorem> m_folder;
};

void TestWine::initTestCase() {
    // One prefix for the whole suite in the build folder, never the user's own.
    qputenv("XDG_DATA_HOME",
            (qEnvironmentVariable("PIXO_BUILD_DIR") + "/tests/wine-dane").toLocal8Bit());
}

void TestWine::init() {
    m_folder = std::make_unique<FolderZEmulatorem>("$01\tcom1:57600:mux0:1\t2\r\n");
    for (const char* dll : {"Kavrel.dll", "Sevrin.dll"})
        QVERIFY(QFile::copy(zbudowane(dll), dll));
}

void TestWine::cleanup() {
    m_folder.reset();
}

// As a user does it: the connection test (which saves KONFIG.TXT and "in" through the DLL's
// line writer), write, read and delete, then the start-up import with its progress window.
void TestWine::oknoPrzezWine() {
    krotkieTowary();
    uruchom({"--pace", "--baud", "57600"});
    const bool bezPrefiksu = !PrefiksGotowy(DomyslneUstawieniaWine());
    StanProgramu stan;
    SkryptDialogi dialogi;
    Klepsydra klepsydra;
    BibliotekiWine lacze(pliki(), oczekiwanieZKlepsydra(klepsydra));
    QVERIFY(BibliotekiProducenta(".").has_value());
    TForm3 forma(stan, dialogi);
    TOknoKomunik komunik(stan, dialogi, lacze, &forma);
    forma.ustawKomunikacje([&] { return &komunik; }, lacze);
    forma.show();
    QStringList nazwy, ilosci; // what the progress windows showed
    QTimer probka;
    QObject::connect(&probka, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* okno = qobject_cast<OknoPostepu*>(w); okno && okno->isVisible()) {
                nazwy << okno->findChild<QLabel*>()->text();
                ilosci << okno->tekstIlosci();
            }
    });
    probka.start(20);

    komunik.show();
    komunik.ui->GrupaSzybkosc->setItemIndex(3);
    QTest::mouseClick(komunik.ui->KlawPolacz, Qt::LeftButton);
    QCOMPARE(dialogi.teksty(),
             QStringList{"Połączenie poprawne - kasa :TALMO PIXO E 3071 PLU\rBiblioteki "
                         "producenta kasy przez Wine: " +
                         pliki().kavrel + ", " + pliki().sevrin});
    QCOMPARE(zawartosc("KONFIG.TXT"), QByteArray("$1\tcom1:57600:mux0:1\t5\r\n"));
    QCOMPARE(zawartosc("in"), QByteArray("#1\r\n#\r\n#\r\n"));
    if (bezPrefiksu) // the first use anywhere: the prefix is made while the window says so
        QVERIFY2(nazwy.filter("Przygotowanie środowiska Wine").size() > 0,
                 qPrintable(nazwy.join('|')));

    TDefKlawisza funkcja, towar;
    funkcja.Rodzaj = RodzajFunkcja;
    funkcja.Numer = 5;
    towar.Rodzaj = RodzajTowar;
    towar.PLU = 12;
    towar.Paragon = 1;
    stan.tabela.zapisz(WarstwaBezposrednio, 0, funkcja);
    stan.tabela.zapisz(WarstwaLewyAlt, 2, towar);
    QTest::mouseClick(forma.ui->bZapis, Qt::LeftButton);
    QCOMPARE(dialogi.ostatni().tekst,
             QStringLiteral("Definicje klawiszy zapisano do kasy i do pliku klawisz.txt"));
    stan.tabela = TabelaKlawiszy{};
    dialogi.wyczysc();
    QTest::mouseClick(forma.ui->bOdczyt, Qt::LeftButton);
    QVERIFY2(dialogi.pokazane.empty(), qPrintable(dialogi.ostatni().tekst));
    QCOMPARE(stan.tabela.odczytaj(WarstwaBezposrednio, 0).Numer, funkcja.Numer);
    QCOMPARE(stan.tabela.odczytaj(WarstwaLewyAlt, 2).PLU, towar.PLU);
    dialogi.odpowiedzi = {Dialogi::Tak};
    QTest::mouseClick(forma.ui->bKasowanie, Qt::LeftButton);
    QCOMPARE(dialogi.ostatni().tekst, QStringLiteral("Skasowano definicje klawiszy"));
    QCOMPARE(stan.tabela.odczytaj(WarstwaLewyAlt, 2).Rodzaj, std::uint8_t(RodzajNiezdefiniowany));

    dialogi.wyczysc();
    dialogi.odpowiedzi = {Dialogi::Tak};
    forma.importStartowy();
    probka.stop();
    QCOMPARE(dialogi.nieoczekiwane, QStringList{});
    QCOMPARE(dialogi.teksty().size(), 1); // the question alone
    QCOMPARE(forma.ui->cbTowary->count(), 3071);
    QVERIFY(forma.ui->cbTowary->itemText(3070).startsWith("3071 A"));
    QVERIFY2(!ilosci.isEmpty() && ilosci.last().endsWith(" z 3071 towarów"),
             qPrintable(ilosci.join('|')));
    QCOMPARE(ukryte(), QStringList{});
}

// The files a register operation or the line writer leaves are the same bytes either way.
void TestWine::plikiJakBibliotekProgramu() {
    uruchom();
    zapiszPlik("123.@#$", kZadanie);
    BibliotekiKasy natywne(odRazu());
    BibliotekiWine wine(pliki(), odRazu());
    using Eksport = std::uint8_t (LaczeKasy::*)(const QString&, const QString&);
    for (const auto& [eksport, plik] :
         {std::pair<Eksport, QString>{&LaczeKasy::ODefKlaw, "klawisz.txt"},
          {&LaczeKasy::TowarMax, "towary.txt"},
          {&LaczeKasy::OPlat, "plat.txt"},
          {&LaczeKasy::OWaluta, "waluta.txt"}}) {
        QCOMPARE(int((natywne.*eksport)("123.@#$", "n-" + plik)), 0);
        QCOMPARE(int((wine.*eksport)("123.@#$", "w-" + plik)), 0);
        QVERIFY(zawartosc("n-" + plik).startsWith("#1\r\n#\r\n#\r\n$"));
        QCOMPARE(zawartosc("w-" + plik), zawartosc("n-" + plik));
    }
    for (LaczeKasy* l : {static_cast<LaczeKasy*>(&natywne), static_cast<LaczeKasy*>(&wine)}) {
        std::int32_t uchwyt = 0;
        QVERIFY(l->OtwartoPlik(uchwyt, l == &wine ? "w-in" : "n-in", 1) != 0);
        QVERIFY(l->ZapisanoDoPlikuLinie(uchwyt, "#01") != 0);
        QVERIFY(l->ZapisanoDoPlikuLinie(uchwyt, "$01\tcom1:57600:mux0:1\t5") != 0);
        QVERIFY(l->ZamknieciePliku(uchwyt) != 0);
        QCOMPARE(uchwyt, 0);
    }
    QCOMPARE(zawartosc("w-in"), zawartosc("n-in"));
    QCOMPARE(ukryte(), QStringList{});
}

// pixo-kasa in a folder with the DLLs: four registers written and read back through Wine.
void TestWine::pixoKasaNaMultiplekserze() {
    QByteArray konfig;
    for (int k = 1; k <= 4; ++k)
        konfig += QStringLiteral("$0%1\tcom1:57600:mux1:%1\t1\r\n").arg(k).toLatin1();
    zapiszPlik("KONFIG.TXT", konfig);
    uruchom({"--mux", "1=01,2=02,3=03,4=04"});
    zapiszPlik("klawisz.txt", kZadanie + "$176\t2\t5\t\r\n$65\t1\t12\t0\t0\t1\r\n");
    const auto kasa = [](const QStringList& argumenty) {
        QProcess p;
        p.start(qEnvironmentVariable("PIXO_BUILD_DIR") + "/cli/pixo-kasa", argumenty);
        p.waitForFinished(60000);
        return std::pair{QString::fromUtf8(p.readAllStandardOutput()),
                         QString::fromUtf8(p.readAllStandardError())};
    };
    const auto [zapis, bledy] = kasa({"zapis", "klawisz.txt", "1", "2", "3", "4"});
    QCOMPARE(zapis, "kasa 01: OK\nkasa 02: OK\nkasa 03: OK\nkasa 04: OK\n");
    QVERIFY2(bledy.startsWith("pixo-kasa: Biblioteki producenta kasy przez Wine: "),
             qPrintable(bledy));
    const auto odczyt = kasa({"odczyt", "--wszystkie", "-o", "kopie"});
    QVERIFY2(odczyt.first.contains("kasa 04: OK (kopie/kasa-04.txt)"), qPrintable(odczyt.first));
    for (int k = 1; k <= 4; ++k) {
        const QByteArray f = zawartosc(QStringLiteral("kopie/kasa-0%1.txt").arg(k));
        QVERIFY(f.startsWith("#" + QByteArray::number(k) + "\r\n"));
        QVERIFY(f.contains("$176\t2\t5\t\r\n") && f.contains("$65\t1\t12\t0\t0\t1\r\n"));
    }
}

// Thousands of calls of every function, each result checked. The bridge checks every call's
// convention (a function removing other than its convention's argument bytes gives 242), and
// the arguments arrive in their order and width: port 77 is named back in the DLL's reason,
// the model byte comes back from command 254.
void TestWine::tysiaceWywolan() {
    uruchom();
    BibliotekiWine l(pliki(), odRazu());
    const int n = 2000;
    std::int32_t uchwyt = 0;
    QVERIFY(l.OtwartoPlik(uchwyt, "linie.txt", 1) != 0);
    LaczeKasy::Bufor odbior{}, nadawanie{};
    for (int i = 0; i < n; ++i) {
        const QString brak = QStringLiteral("brak%1.txt").arg(i % 7);
        QCOMPARE(int(l.ODefKlaw(brak, "wy.txt")), 6);
        QCOMPARE(int(l.ZDefKlaw(brak)), 6);
        QCOMPARE(int(l.KDefKlaw(brak)), 6);
        QCOMPARE(int(l.TowarMax(brak, "wy.txt")), 6);
        QCOMPARE(int(l.OPlat(brak, "wy.txt")), 6);
        QCOMPARE(int(l.OWaluta(brak, "wy.txt")), 6);
        QCOMPARE(int(l.ZapisanoDoPlikuLinie(uchwyt, QByteArray::number(i))), 1);
        std::int32_t zly = 0, obcy = 1000 + i; // mode 2 and a handle never given are refused
        QCOMPARE(int(l.OtwartoPlik(zly, "x.txt", 2)), 0);
        QCOMPARE(int(l.ZamknieciePliku(obcy)), 0);
        l.UnInitializePort();
        QCOMPARE(int(l.InitializePort(77, 9600, 1, 1)), 62);
        QCOMPARE(
            l.powodBleduPortu(),
            QStringLiteral("Port COM77 nie istnieje (brak urządzenia lub zerwane dowiązanie)."));
        QCOMPARE(int(l.UstawKanal(std::uint8_t(1 + i % 8))), 0);
        QCOMPARE(int(l.RSSequence(254, 4, 0, odbior, nadawanie)), 62);
    }
    QCOMPARE(int(l.ZamknieciePliku(uchwyt)), 1);
    QCOMPARE(zawartosc("linie.txt").count("\r\n"), n);
    // Names the DLL must judge itself reach it as given, not as a temporary.
    QCOMPARE(int(l.ODefKlaw("brak.txt", "konfig.txt")), 4);
    QCOMPARE(int(l.TowarMax("a.txt", "A.TXT")), 5);
    QCOMPARE(int(l.InitializePort(1, 57600, 2, 2)), 0);
    for (int i = 0; i < n / 10; ++i) {
        odbior.fill('x');
        QCOMPARE(int(l.RSSequence(254, 4, 0, odbior, nadawanie)), 0);
        QCOMPARE(int(std::uint8_t(odbior[0])), 139);
        QCOMPARE(odbior[200], '\0');
    }
    l.UnInitializePort();
    QVERIFY(!QFile::exists("wy.txt"));
    QCOMPARE(ukryte(), QStringList{});
}

// Each fault once: the code, the particulars the user is told, and, where the bridge is gone,
// that the next call starts a fresh one (-1: the fault stays, nothing to try).
void TestWine::usterki_data() {
    QTest::addColumn<QString>("kavrel"); // "nasza", "proba" (tests/wine/proba), "sevrin", "brak"
    QTest::addColumn<QString>("sevrin"); // "nasza", "smieci", "brak"
    QTest::addColumn<bool>("zWine");
    QTest::addColumn<QString>("funkcja");
    QTest::addColumn<int>("kod");
    QTest::addColumn<QString>("powod");
    QTest::addColumn<int>("nastepny");
    QTest::newRow("brak wine") << "nasza"
                               << "nasza" << false << "ODefKlaw" << 240
                               << "apt-get install wine wine32:i386" << -1;
    QTest::newRow("brak pliku") << "nasza"
                                << "brak" << true << "ODefKlaw" << 242 << "Nie ma pliku " << -1;
    QTest::newRow("nie biblioteka")
        << "nasza"
        << "smieci" << true << "ODefKlaw" << 242 << "Nie można załadować biblioteki " << -1;
    QTest::newRow("brak funkcji") << "sevrin"
                                  << "nasza" << true << "ODefKlaw" << 242
                                  << "Kavrel.dll nie ma funkcji __ODefKlaw." << -1;
    QTest::newRow("zla konwencja")
        << "proba"
        << "nasza" << true << "OPlat" << 242 << "__OPlat biblioteki " << 0;
    QTest::newRow("awaria") << "proba"
                            << "nasza" << true << "ZDefKlaw" << 243
                            << "funkcja __ZDefKlaw: wyjątek 0xC0000005, naruszenie dostępu" << 0;
    QTest::newRow("bez odpowiedzi") << "proba"
                                    << "nasza" << true << "KDefKlaw" << 244
                                    << "Funkcja __KDefKlaw biblioteki Kavrel.dll nie" << 0;
}

void TestWine::usterki() {
    QFETCH(QString, kavrel);
    QFETCH(QString, sevrin);
    QFETCH(bool, zWine);
    QFETCH(QString, funkcja);
    QFETCH(int, kod);
    QFETCH(QString, powod);
    QFETCH(int, nastepny);
    QFile::remove("Kavrel.dll");
    QFile::remove("Sevrin.dll");
    if (kavrel != "brak")
        QVERIFY(QFile::copy(zbudowane(kavrel == "proba"    ? "proba/Kavrel.dll"
                                      : kavrel == "sevrin" ? "Sevrin.dll"
                                                           : "Kavrel.dll"),
                            "Kavrel.dll"));
    if (sevrin == "smieci")
        zapiszPlik("Sevrin.dll", "MZ to nie jest biblioteka");
    else if (sevrin == "nasza")
        QVERIFY(QFile::copy(zbudowane("Sevrin.dll"), "Sevrin.dll"));
    UstawieniaWine u = DomyslneUstawieniaWine();
    if (!zWine)
        u.wine.clear();
    u.granicaWywolaniaMs = 3000;
    zapiszPlik("123.@#$", kZadanie);
    BibliotekiWine l(pliki(), odRazu(), u);
    const auto wywolaj = [&](const QString& f) {
        return int(f == "OPlat"      ? l.OPlat("123.@#$", "plat.txt")
                   : f == "ZDefKlaw" ? l.ZDefKlaw("123.@#$")
                   : f == "KDefKlaw" ? l.KDefKlaw("123.@#$")
                                     : l.ODefKlaw("123.@#$", "klawisz.txt"));
    };
    QElapsedTimer czas;
    czas.start();
    QCOMPARE(wywolaj(funkcja), kod);
    QVERIFY2(l.powodBleduPortu().contains(powod), qPrintable(l.powodBleduPortu()));
    QVERIFY(!TekstBledu(std::uint8_t(kod)).isEmpty());
    QVERIFY(czas.elapsed() < 30000);
    if (nastepny >= 0)
        QCOMPARE(wywolaj("ODefKlaw"), nastepny);
    QCOMPARE(ukryte(), QStringList{});
}

// The bridge killed in the middle of a long transfer: the call fails saying so, the older
// list is untouched, nothing half-written is left, and the next call works again.
void TestWine::awariaMostuWTrakcie() {
    krotkieTowary();
    uruchom({"--pace", "--baud", "57600"});
    zapiszPlik("towary.txt", "stara lista");
    zapiszPlik("123.@#$", kZadanie);
    Klepsydra klepsydra;
    BibliotekiWine l(pliki(), oczekiwanieZKlepsydra(klepsydra));
    QTimer zabojca;
    QObject::connect(&zabojca, &QTimer::timeout, [&] {
        if (l.postep().zrobione.load() > 100 && l.pidMostu() > 0)
            ::kill(l.pidMostu(), SIGKILL);
    });
    zabojca.start(10);
    QCOMPARE(int(l.TowarMax("123.@#$", "towary.txt")), int(kKodAwariaBiblioteki));
    zabojca.stop();
    QVERIFY2(l.powodBleduPortu().contains("w trakcie funkcji __TowarMax (sygnał 9)"),
             qPrintable(l.powodBleduPortu()));
    QCOMPARE(zawartosc("towary.txt"), QByteArray("stara lista"));
    QCOMPARE(ukryte(), QStringList{});
    QCOMPARE(int(l.OWaluta("123.@#$", "waluta.txt")), 0);
    QVERIFY(zawartosc("waluta.txt").contains("$8\t8\t"));
}

QTEST_MAIN(TestWine)
#include "test_wine.moc"
