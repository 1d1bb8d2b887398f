// KONFIG.TXT as the program writes and reads it: the line for the dialog's values, the
// register number recorded, and the reading rule that takes the number back from the file's
// first line, whatever the letter case of its name.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "comm/KonfigTxt.h"
#include "comm/ModeleKas.h"
#include "core/BladProgramu.h"
#include "transfer/NrKasy.h"

namespace {
void zapisz(const QString& sciezka, const QByteArray& tresc) {
    QFile f(sciezka);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(tresc);
}
} // namespace

class TestKonfigTxt : public QObject {
    Q_OBJECT
private slots:
    void liniaKonfiguracji_data();
    void liniaKonfiguracji();
    void numerDoZapisu();
    void linieInnychKas();
    void szybkosci();
    void regulaOdczytu_data();
    void regulaOdczytu();
    void zapisanaLiniaCzytanaZPowrotem();
    void plikWDowolnejWielkosciLiter();
    void brakPliku();
    void plikBezNumeru_data();
    void plikBezNumeru();
    void tekstZlegoNumeru();
    void modele();
};

void TestKonfigTxt::liniaKonfiguracji_data() {
    QTest::addColumn<QString>("nr");
    QTest::addColumn<int>("port");
    QTest::addColumn<int>("szybkosc");
    QTest::addColumn<int>("mux");
    QTest::addColumn<int>("kanal");
    QTest::addColumn<int>("timeout");
    QTest::addColumn<QByteArray>("linia");
    QTest::newRow("domyslne") << "01" << 1 << 9600 << 0 << 1 << 5
                              << QByteArray("$01\tcom1:9600:mux0:1\t5");
    QTest::newRow("bez mux kanal pominiety")
        << "01" << 1 << 9600 << 0 << 3 << 5 << QByteArray("$01\tcom1:9600:mux0:1\t5");
    QTest::newRow("mux1 nr 3") << "7" << 2 << 19200 << 1 << 3 << 5
                               << QByteArray("$7\tcom2:19200:mux1:3\t5");
    QTest::newRow("port 12 57600 1000")
        << "1" << 12 << 57600 << 0 << 4 << 1000 << QByteArray("$1\tcom12:57600:mux0:1\t1000");
    QTest::newRow("28800 port 99")
        << "12" << 99 << 28800 << 1 << 4 << 1 << QByteArray("$12\tcom99:28800:mux1:4\t1");
}

void TestKonfigTxt::liniaKonfiguracji() {
    QFETCH(QString, nr);
    QFETCH(int, port);
    QFETCH(int, szybkosc);
    QFETCH(int, mux);
    QFETCH(int, kanal);
    QFETCH(int, timeout);
    QFETCH(QByteArray, linia);
    ParametryKomunikacji p;
    p.port = port;
    p.szybkosc = szybkosc;
    p.multiplekser = mux;
    p.kanal = kanal;
    p.timeout = timeout;
    QCOMPARE(LiniaKonfiguracji(nr, p), linia);
}

void TestKonfigTxt::numerDoZapisu() {
    QCOMPARE(NrKasyDoZapisu(0), QStringLiteral("01"));
    QCOMPARE(NrKasyDoZapisu(1), QStringLiteral("1"));
    QCOMPARE(NrKasyDoZapisu(7), QStringLiteral("7"));
    QCOMPARE(NrKasyDoZapisu(99), QStringLiteral("99"));
    QCOMPARE(NrKasyDoZapisu(123), QStringLiteral("12"));
    // No test this run: the old file's first register line names the register.
    QCOMPARE(NrKasyDoZapisu(0, {"", "$05\tcom1", "$07"}), QStringLiteral("05"));
    QCOMPARE(NrKasyDoZapisu(7, {"$05\tcom1"}), QStringLiteral("7"));
    for (const QByteArrayList& bez : {QByteArrayList{"$x\tcom1", "$05"}, {"$0\t"}, {"#5"}})
        QCOMPARE(NrKasyDoZapisu(0, bez), QStringLiteral("01"));
    QCOMPARE(LiniaNaglowkaIn(QStringLiteral("01")), QByteArray("#01"));
    QCOMPARE(LiniaNaglowkaIn(QStringLiteral("7")), QByteArray("#7"));
}

// The dialog's register first, then the other registers as the file had them; what the
// protocol library could not read is dropped.
void TestKonfigTxt::linieInnychKas() {
    const QByteArray k3 = "$3\tcom2:9600:mux1:3\t5", k12 = "$12\tcom3:19200:mux0:1\t9";
    QCOMPARE(LinieKonfiguracji("05", "L", {k3, "$5\tstara", "", k12, "$05\tdruga"}),
             QByteArrayList({"L", k3, k12}));
    const QByteArray dluga = "$4\t" + QByteArray(253, 'a');
    QCOMPARE(LinieKonfiguracji("1", "L", {"bez", "$0\t", "#4\t", "$4\t\r", "$4\t\x7f", dluga, k3}),
             QByteArrayList({"L", k3}));
    QTemporaryDir dir;
    zapisz(dir.filePath("konfig.txt"), "$5\tcom1\r\n\r\n$7\tcom2\n$9");
    QCOMPARE(CzytajLinieKonfiguracji(dir.path()),
             QByteArrayList({"$5\tcom1", "", "$7\tcom2", "$9"}));
    zapisz(dir.filePath("konfig.txt"), QByteArray(64 * 1024 + 1, '#'));
    QVERIFY_THROWS_EXCEPTION(BladProgramu, CzytajLinieKonfiguracji(dir.path()));
}

void TestKonfigTxt::szybkosci() {
    QCOMPARE(SzybkoscZIndeksu(0), 9600);
    QCOMPARE(SzybkoscZIndeksu(1), 19200);
    QCOMPARE(SzybkoscZIndeksu(2), 28800);
    QCOMPARE(SzybkoscZIndeksu(3), 57600);
    QCOMPARE(SzybkoscZIndeksu(4), 9600);
    QCOMPARE(SzybkoscZIndeksu(-1), 9600);
}

void TestKonfigTxt::regulaOdczytu_data() {
    QTest::addColumn<QByteArray>("linia");
    QTest::addColumn<QString>("nr");
    QTest::newRow("$7 TAB") << QByteArray("$7\tcom1:9600:mux0:1\t5") << "7";
    QTest::newRow("$12") << QByteArray("$12\tcom1:9600:mux0:1\t5") << "12";
    QTest::newRow("$05") << QByteArray("$05\tcom1") << "05";
    QTest::newRow("$01") << QByteArray("$01") << "01";
    QTest::newRow("dwa znaki") << QByteArray("$7") << "7";
    QTest::newRow("$7 CR") << QByteArray("$7\r") << "7";
    QTest::newRow("$7 spacja") << QByteArray("$7 x") << "7";
    QTest::newRow("trzeci znak 0") << QByteArray("$70") << "70";
    QTest::newRow("trzeci znak litera") << QByteArray("$1a\t") << "1a";
    QTest::newRow("bajt powyzej 127") << QByteArray("$1\xb9") << QString::fromLatin1("1\xb9");
}

void TestKonfigTxt::regulaOdczytu() {
    QFETCH(QByteArray, linia);
    QFETCH(QString, nr);
    const auto wynik = NrKasyZLinii(linia);
    QVERIFY(wynik.has_value());
    QCOMPARE(*wynik, nr);
}

// What the dialog writes for a register identified as 1 reads back as "1".
void TestKonfigTxt::zapisanaLiniaCzytanaZPowrotem() {
    QTemporaryDir dir;
    ParametryKomunikacji p;
    zapisz(dir.filePath("KONFIG.TXT"), LiniaKonfiguracji(NrKasyDoZapisu(1), p) + "\r\n");
    QString nr = QStringLiteral("xx");
    QVERIFY(WczytajNrKasy(nr, dir.path()));
    QCOMPARE(nr, QStringLiteral("1"));
    zapisz(dir.filePath("KONFIG.TXT"), LiniaKonfiguracji(NrKasyDoZapisu(0), p) + "\r\n");
    QVERIFY(WczytajNrKasy(nr, dir.path()));
    QCOMPARE(nr, QStringLiteral("01"));
}

void TestKonfigTxt::plikWDowolnejWielkosciLiter() {
    QTemporaryDir dir;
    zapisz(dir.filePath("konfig.txt"), "$12\tcom1:9600:mux0:1\t5\r\n");
    QCOMPARE(SciezkaKonfiguracji(dir.path()), dir.filePath("konfig.txt"));
    QString nr;
    QVERIFY(WczytajNrKasy(nr, dir.path()));
    QCOMPARE(nr, QStringLiteral("12"));

    // With several spellings the one the dialog writes wins, as in the protocol library.
    zapisz(dir.filePath("Konfig.Txt"), "$3\r\n");
    QCOMPARE(SciezkaKonfiguracji(dir.path()), dir.filePath("Konfig.Txt"));
    zapisz(dir.filePath("KONFIG.TXT"), "$4\r\n");
    QVERIFY(WczytajNrKasy(nr, dir.path()));
    QCOMPARE(nr, QStringLiteral("4"));
}

void TestKonfigTxt::brakPliku() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("KONFIG.TXT")); // a folder is no configuration file
    QString nr = QStringLiteral("05");
    QVERIFY(!WczytajNrKasy(nr, dir.path()));
    QCOMPARE(nr, QStringLiteral("05"));
    QVERIFY(SciezkaKonfiguracji(dir.path() + "/brak").isEmpty());
}

void TestKonfigTxt::plikBezNumeru_data() {
    QTest::addColumn<QByteArray>("tresc");
    QTest::newRow("pusty") << QByteArray();
    QTest::newRow("pusta linia") << QByteArray("\r\n$7\r\n");
    QTest::newRow("sam znak dolara") << QByteArray("$\n");
    QTest::newRow("jeden znak bez konca") << QByteArray("$");
}

// A first line too short to hold a number stops the operation with an error instead of
// going on with whatever number the program held before.
void TestKonfigTxt::plikBezNumeru() {
    QFETCH(QByteArray, tresc);
    QTemporaryDir dir;
    zapisz(dir.filePath("KONFIG.TXT"), tresc);
    QString nr = QStringLiteral("05");
    QVERIFY_THROWS_EXCEPTION(BladProgramu, WczytajNrKasy(nr, dir.path()));
    QCOMPARE(nr, QStringLiteral("05"));
}

// Control bytes of the number show as marks: a NUL would end the box's text there.
void TestKonfigTxt::tekstZlegoNumeru() {
    QCOMPARE(TekstZlegoNumeruKasy(QString(QChar(0)) + QChar(1)),
             QStringLiteral("Numer kasy \"\uFFFD\uFFFD\" nie jest liczbą.\rNaciśnij przycisk "
                            "\"POŁĄCZENIE\" i ustaw ponownie parametry komunikacji."));
}

void TestKonfigTxt::modele() {
    const std::pair<int, int> pary[] = {{104, 1}, {103, 2}, {101, 3}, {100, 4}, {102, 5},
                                        {107, 6}, {132, 7}, {133, 8}, {139, 9}};
    int znane = 0;
    for (int b = 0; b < 256; ++b) {
        int oczekiwany = 0;
        for (const auto& [bajt, kod] : pary)
            if (bajt == b)
                oczekiwany = kod;
        QCOMPARE(KodModeluZBajtu(static_cast<std::uint8_t>(b)), oczekiwany);
        znane += oczekiwany != 0;
    }
    QCOMPARE(znane, 9);
    QCOMPARE(NazwaModelu(6), NazwaModelu(7));
    QCOMPARE(NazwaModelu(9), QStringLiteral("PIXO E 3071 PLU"));
    QCOMPARE(NazwaModelu(0), QString());
}

QTEST_GUILESS_MAIN(TestKonfigTxt)
#include "test_konfig_txt.moc"
