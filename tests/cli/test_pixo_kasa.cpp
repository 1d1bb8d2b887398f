// pixo-kasa as a technician runs it, against the emulator playing a multiplexer with four
// registers: its result lines, exit status and files, and that it leaves nothing behind.
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <signal.h>
#include <sys/stat.h>

#include "wspolne/EmulatorTestowy.h"

namespace {

// A key-definition file as the window program saves it, every line type on some key; the
// register gives the same 28 lines back.
const QByteArray kDefinicje =
    "$176\t1\t12\t1\t0\t1\r\n$65\t2\t5\t\r\n$164\t3\t2\t1000\t0\r\n"
    "$214\t0\r\n$177\t4\t0\t10\t1\t0\r\n$66\t5\t1\t250\t0\t1\r\n"
    "$38\t3\t3\t0\t1\r\n$215\t0\r\n$178\t0\r\n$67\t0\r\n$143\t0\r\n"
    "$216\t2\t40\t\r\n$179\t0\r\n$68\t0\r\n$37\t0\r\n$217\t0\r\n"
    "$180\t0\r\n$69\t0\r\n$168\t0\r\n$218\t0\r\n$71\t1\t3071\t0\t1\t0\r\n"
    "$41\t0\r\n$72\t0\r\n$45\t0\r\n$73\t0\r\n$43\t0\r\n$74\t0\r\n$61\t0\r\n";

QByteArray plik(int kasa, const QByteArray& definicje = kDefinicje) {
    return "#" + QByteArray::number(kasa) + "\r\n#\r\n#\r\n" + definicje;
}

struct Przebieg {
    int status = -1;
    QProcess::ExitStatus zakonczenie = QProcess::NormalExit;
    QString wyjscie;
    QString bledy;
};

} // namespace

class TestPixoKasa : public QObject {
    Q_OBJECT
private slots:
    void init();
    void zapisIOdczytCzterechKas();
    void jednaKasaMilczy();
    void nicNieWyslano_data();
    void nicNieWyslano();
    void kasowanieBezPytania();
    void porownajZnajdujeZmiane();
    void towaryWszystkieAlboZadne();
    void przerwanieNieZostawiaPlikow();
    void zamknieteWyjscie();

private:
    void uruchomEmulator(const QStringList& usterki = {});
    QProcess* start(const QStringList& argumenty, const QByteArray& wejscie = {},
                    QProcess* odbiorca = nullptr);
    Przebieg kasa(const QStringList& argumenty, const QByteArray& wejscie = {});
    // What the working folder holds beyond the test's own files, and the temporary folder.
    QStringList pozostalosci() const;

    std::unique_ptr<FolderZEmulatorem> m_folder;
    std::unique_ptr<QTemporaryDir> m_tmp;
    std::unique_ptr<QProcess> m_proces;
};

void TestPixoKasa::init() {
    m_proces.reset();
    // Timeout 1 s: a silent register is told within a second or two.
    QByteArray konfig;
    for (int k = 1; k <= 4; ++k)
        konfig += QStringLiteral("$0%1\tcom1:57600:mux1:%1\t1\r\n").arg(k).toLatin1();
    m_folder.reset(); // first, as it makes the folder before it current again
    m_folder = std::make_unique<FolderZEmulatorem>(konfig);
    m_tmp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_tmp->isValid());
}

void TestPixoKasa::uruchomEmulator(const QStringList& usterki) {
    QVERIFY(m_folder->uruchom(QStringList{"--mux", "1=01,2=02,3=03,4=04", "--verbose"} + usterki));
}

QProcess* TestPixoKasa::start(const QStringList& argumenty, const QByteArray& wejscie,
                              QProcess* odbiorca) {
    m_proces = std::make_unique<QProcess>();
    if (odbiorca)
        m_proces->setStandardOutputProcess(odbiorca);
    m_proces->setWorkingDirectory(m_folder->path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TMPDIR", m_tmp->path());
    m_proces->setProcessEnvironment(env);
    m_proces->start(qEnvironmentVariable("PIXO_BUILD_DIR") + "/cli/pixo-kasa", argumenty);
    m_proces->write(wejscie);
    m_proces->closeWriteChannel();
    return m_proces.get();
}

Przebieg TestPixoKasa::kasa(const QStringList& argumenty, const QByteArray& wejscie) {
    QProcess* p = start(argumenty, wejscie);
    if (!p->waitForFinished(30000))
        return {};
    return {p->exitCode(), p->exitStatus(), QString::fromUtf8(p->readAllStandardOutput()),
            QString::fromUtf8(p->readAllStandardError())};
}

QStringList TestPixoKasa::pozostalosci() const {
    const auto wszystko = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    QStringList p = QDir(m_folder->path()).entryList(wszystko);
    p.removeOne("KONFIG.TXT");
    p.removeOne("com1");
    p.removeOne("stan"); // the emulator's
    p.removeOne("klawisz.txt");
    return p + QDir(m_tmp->path()).entryList(wszystko);
}

void TestPixoKasa::zapisIOdczytCzterechKas() {
    uruchomEmulator();
    zapiszPlik("klawisz.txt", plik(1));
    const Przebieg zapis = kasa({"zapis", "klawisz.txt", "1", "2", "3", "4"});
    QCOMPARE(zapis.wyjscie, "kasa 01: OK\nkasa 02: OK\nkasa 03: OK\nkasa 04: OK\n");
    QCOMPARE(zapis.status, 0);

    const Przebieg odczyt = kasa({"odczyt", "--wszystkie", "-o", "kopie/nowe"});
    QCOMPARE(odczyt.status, 0);
    QVERIFY2(odczyt.wyjscie.contains("kasa 04: OK (kopie/nowe/kasa-04.txt)"),
             qPrintable(odczyt.wyjscie));
    for (int k = 1; k <= 4; ++k)
        QCOMPARE(zawartosc(m_folder->filePath(QStringLiteral("kopie/nowe/kasa-0%1.txt").arg(k))),
                 plik(k));
    QCOMPARE(pozostalosci(), QStringList{"kopie"});
}

void TestPixoKasa::jednaKasaMilczy() {
    uruchomEmulator({"--no-reply-channel", "3"});
    zapiszPlik("klawisz.txt", plik(1));
    const Przebieg p = kasa({"zapis", "klawisz.txt", "1", "2", "3", "4", "--json"});
    QCOMPARE(p.status, 1);
    const QJsonObject wynik = QJsonDocument::fromJson(p.wyjscie.toUtf8()).object();
    QCOMPARE(wynik["ok"].toBool(true), false);
    const QJsonArray kasy = wynik["kasy"].toArray();
    QCOMPARE(kasy.size(), 4);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(kasy[i]["kasa"].toInt(), i + 1);
        QCOMPARE(kasy[i]["kod"].toInt(), i == 2 ? 21 : 0); // receive timeout
    }
    QVERIFY(kasy[2]["komunikat"].toString().startsWith("Wystąpił timeout odbierania."));

    // The registers after the silent one were written all the same.
    QCOMPARE(kasa({"porownaj", "klawisz.txt", "4"}).wyjscie, "kasa 04: zgodna z plikiem\n");

    // Each register's three lists, and none of the silent one's.
    const Przebieg towary = kasa({"towary", "3", "2", "-o", "listy"});
    QCOMPARE(towary.status, 1);
    QCOMPARE(QDir(m_folder->filePath("listy")).entryList(QDir::Files | QDir::Hidden),
             QStringList({"plat-02.txt", "towary-02.txt", "waluta-02.txt"}));
    QCOMPARE(zawartosc(m_folder->filePath("listy/plat-02.txt")).count("\r\n"), 3 + 6);
    QCOMPARE(zawartosc(m_folder->filePath("listy/waluta-02.txt")).count("\r\n"), 3 + 8);
}

void TestPixoKasa::kasowanieBezPytania() {
    uruchomEmulator();
    zapiszPlik("klawisz.txt", plik(1));
    QCOMPARE(kasa({"zapis", "klawisz.txt", "1", "2"}).status, 0);
    const Przebieg p = kasa({"kasowanie", "--tak", "2"});
    QCOMPARE(p.wyjscie, "kasa 02: OK\n");
    QCOMPARE(p.bledy, QString()); // no question
    QCOMPARE(kasa({"odczyt", "1", "2"}).status, 0);
    QCOMPARE(zawartosc(m_folder->filePath("kasa-01.txt")), plik(1));
    QByteArray niezdefiniowane; // every key of type 0
    for (const QByteArray& linia : kDefinicje.split('\n'))
        if (!linia.isEmpty())
            niezdefiniowane += linia.left(linia.indexOf('\t')) + "\t0\r\n";
    QCOMPARE(zawartosc(m_folder->filePath("kasa-02.txt")), plik(2, niezdefiniowane));
}

// Each of these ends before the register is reached: the emulator hears nothing.
void TestPixoKasa::nicNieWyslano_data() {
    QTest::addColumn<QStringList>("argumenty");
    QTest::addColumn<QByteArray>("wejscie");
    QTest::addColumn<QString>("blad");
    QTest::newRow("zła linia") << QStringList{"zapis", "klawisz.txt", "1", "2"} << QByteArray()
                               << "linia 6: $65\t2\t41\t\n"; // function 41 is no function
    QTest::newRow("brak pliku") << QStringList{"zapis", "brak.txt", "1"} << QByteArray()
                                << "Nie można otworzyć pliku \"brak.txt\"";
    QTest::newRow("brak konfiguracji") << QStringList{"odczyt", "1", "--konfig", "inny.txt"}
                                       << QByteArray() << "Nie ma pliku konfiguracji inny.txt.";
    QTest::newRow("kasowanie bez zgody") << QStringList{"kasowanie", "1"} << QByteArray("nie\n")
                                         << "Nie skasowano definicji klawiszy.";
    QTest::newRow("zły numer") << QStringList{"odczyt", "100"} << QByteArray()
                               << "numer kasy musi być liczbą 1-99: 100";
    QTest::newRow("pusty plik") << QStringList{"zapis", "pusty.txt", "2"} << QByteArray()
                                << "brak nagłówka";
    QTest::newRow("bez #") << QStringList{"zapis", "bez.txt", "2"} << QByteArray()
                           << "linia 1: $176\t0 (nagłówek";
    QTest::newRow("/dev/zero") << QStringList{"zapis", "zero.txt", "1"} << QByteArray()
                               << "\"zero.txt\": to urządzenie";
    QTest::newRow("FIFO") << QStringList{"zapis", "potok.txt", "1"} << QByteArray()
                          << "\"potok.txt\": to potok (FIFO)";
    QTest::newRow("FIFO konfiguracji") << QStringList{"odczyt", "1", "--konfig", "potok.txt"}
                                       << QByteArray() << "potok.txt\": to potok (FIFO)";
}

void TestPixoKasa::nicNieWyslano() {
    QFETCH(QStringList, argumenty);
    QFETCH(QByteArray, wejscie);
    QFETCH(QString, blad);
    uruchomEmulator();
    zapiszPlik("klawisz.txt", plik(1, "$176\t1\t12\t1\t0\t1\r\n$177\t0\r\n$65\t2\t41\t\r\n"));
    zapiszPlik("pusty.txt", "");
    zapiszPlik("bez.txt", "$176\t0\r\n#\r\n#\r\n$177\t0\r\n");
    QVERIFY(QFile::link("/dev/zero", m_folder->filePath("zero.txt")));
    QCOMPARE(::mkfifo(QFile::encodeName(m_folder->filePath("potok.txt")).constData(), 0600), 0);
    const Przebieg p = kasa(argumenty, wejscie);
    QCOMPARE(p.status, 2);
    QVERIFY2(p.bledy.contains(blad), qPrintable(p.bledy));
    QCOMPARE(p.wyjscie, QString());
    m_folder->emulator().zatrzymaj(); // all it printed is read in
    QVERIFY2(!m_folder->emulator().bledy().contains("<-"), "the emulator received a frame");
    QCOMPARE(pozostalosci(), QStringList({"bez.txt", "potok.txt", "pusty.txt", "zero.txt"}));
}

void TestPixoKasa::porownajZnajdujeZmiane() {
    uruchomEmulator();
    zapiszPlik("klawisz.txt", plik(2));
    QCOMPARE(kasa({"zapis", "klawisz.txt", "2"}).status, 0);
    const Przebieg zgodna = kasa({"porownaj", "klawisz.txt", "2"});
    QCOMPARE(zgodna.wyjscie, "kasa 02: zgodna z plikiem\n");
    QCOMPARE(zgodna.status, 0);

    // Left Alt B from a discount to a markup, right Alt Ą undefined.
    QByteArray zmienione = kDefinicje;
    zmienione.replace("$66\t5\t1\t250", "$66\t5\t0\t250").replace("$164\t3\t2\t1000\t0", "$164\t0");
    zapiszPlik("klawisz.txt", plik(2, zmienione));
    const Przebieg rozna = kasa({"porownaj", "klawisz.txt", "2"});
    QCOMPARE(rozna.wyjscie,
             "kasa 02: różne klawisze: 2\n"
             "  B: w pliku „5 - RABAT/NARZUT: 3 RABAT KWOTOWY, kwota 2,50, 2 TYLKO NA PARAGON”, "
             "w kasie „5 - RABAT/NARZUT: 4 NARZUT KWOTOWY, kwota 2,50, 2 TYLKO NA PARAGON”\n"
             "  Ą: w pliku „NIEZDEF.”, w kasie „3 - PŁATNOŚĆ: PŁATNOŚĆ 1, kwota 10,00 zł”\n");
    QCOMPARE(rozna.status, 1);

    // Register 2's line typed with blanks for its TABs: named by its number, and why.
    QByteArray konfig;
    for (int k = 1; k <= 4; ++k)
        konfig += QStringLiteral("$0%1%2com1:57600:mux1:%1%2%3\r\n")
                      .arg(k)
                      .arg(k == 2 ? " " : "\t")
                      .arg(1)
                      .toLatin1();
    zapiszPlik("KONFIG.TXT", konfig);
    const Przebieg zlaLinia = kasa({"porownaj", "klawisz.txt", "2"});
    QCOMPARE(zlaLinia.wyjscie, "kasa 02: błąd 16: Niepoprawny format pliku konfiguracji: linia 2: "
                               "pola rozdzielone spacjami, a muszą być rozdzielone znakiem TAB\n");
}

// A register's three lists go out together: one that cannot be written leaves the older ones
// as they were, and the user is told.
void TestPixoKasa::towaryWszystkieAlboZadne() {
    uruchomEmulator();
    QVERIFY(QDir(m_folder->path()).mkpath("listy/waluta-02.txt")); // no file can go there
    zapiszPlik("listy/towary-02.txt", "stare");
    const Przebieg p = kasa({"towary", "2", "-o", "listy"});
    QCOMPARE(p.status, 1);
    QVERIFY2(p.wyjscie.contains("Nie zapisano żadnej z list"), qPrintable(p.wyjscie));
    QCOMPARE(zawartosc(m_folder->filePath("listy/towary-02.txt")), QByteArray("stare"));
    QVERIFY(!QFile::exists(m_folder->filePath("listy/plat-02.txt")));
}

// Interrupted in the middle of a long transfer: neither the working folder nor a part of an
// output stays.
void TestPixoKasa::przerwanieNieZostawiaPlikow() {
    uruchomEmulator({"--pace", "--baud", "9600"});
    QProcess* p = start({"towary", "1", "-o", "listy"});
    QString slyszane;
    QTRY_VERIFY_WITH_TIMEOUT((slyszane += m_folder->emulator().bledy()).contains("rozkaz"), 10000);
    QTest::qWait(300); // the goods list is arriving now
    ::kill(static_cast<pid_t>(p->processId()), SIGTERM);
    QVERIFY(p->waitForFinished(5000));
    QCOMPARE(p->exitStatus(), QProcess::CrashExit);
    QCOMPARE(pozostalosci(), QStringList{"listy"});
    QCOMPARE(QDir(m_folder->filePath("listy"))
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());
}

// The results' reader goes away ("| head -c 10"): the run is not killed by SIGPIPE with its
// working folder left; it says so and ends before the next register.
void TestPixoKasa::zamknieteWyjscie() {
    uruchomEmulator();
    QProcess head;
    QProcess* p = start({"odczyt", "1", "2", "3", "4"}, {}, &head);
    head.start("head", {"-c", "10"});
    QVERIFY(p->waitForFinished(30000) && head.waitForFinished(5000));
    QCOMPARE(p->exitStatus(), QProcess::NormalExit);
    QCOMPARE(p->exitCode(), 2);
    QVERIFY(QString::fromUtf8(p->readAllStandardError()).contains("nie można zapisać wyników"));
    QCOMPARE(head.readAllStandardOutput(), QByteArray("kasa 01: O"));
    QCOMPARE(QDir(m_tmp->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());
    QVERIFY(!QFile::exists(m_folder->filePath("kasa-04.txt")));
}

QTEST_GUILESS_MAIN(TestPixoKasa)
#include "test_pixo_kasa.moc"
