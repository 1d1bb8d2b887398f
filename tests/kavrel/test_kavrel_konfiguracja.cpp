// KONFIG.TXT as the key-definition library reads it: finding the file whatever its letter case,
// picking the register's line among several, and every code for a broken file.

#include "PomocKavrel.h"
#include "link/kavrel/Konfiguracja.h"

#include <QtTest>

using namespace pixo;
using namespace pixo::kavrel;
using pomoc::zapisz;

class TestKonfiguracja : public QObject {
    Q_OBJECT

    static std::uint8_t czytajDla(int nr, ParametryLacza* wynik = nullptr) {
        ParametryLacza p = wynik ? *wynik : ParametryLacza{};
        p.katalog = "przekazany";
        const std::uint8_t k = czytajKonfiguracje(".", nr, p);
        if (wynik)
            *wynik = p;
        return k;
    }

private slots:
    void dialogowaLiniaDaje_WszystkieParametry() {
        pomoc::FolderRoboczy f;
        zapisz("KONFIG.TXT", "$01\tcom1:9600:mux0:1\t5\r\n");
        ParametryLacza p;
        QCOMPARE(czytajDla(1, &p), 0);
        QCOMPARE(p.port, 1);
        QCOMPARE(p.baud, 9600);
        QCOMPARE(p.multiplekser, 0);
        QCOMPARE(p.kanal, 1);
        QCOMPARE(p.timeoutSek, 5);
        QCOMPARE(p.katalog, std::string("przekazany")); // left to the caller

        zapisz("KONFIG.TXT", "$12\tcom12:57600:mux1:3\t1000");
        QCOMPARE(czytajDla(12, &p), 0);
        QCOMPARE(p.port, 12);
        QCOMPARE(p.baud, 57600);
        QCOMPARE(p.multiplekser, 1);
        QCOMPARE(p.kanal, 3);
        QCOMPARE(p.timeoutSek, 1000);
    }

    void nazwaPlikuBezWzgleduNaWielkoscLiter_data() {
        QTest::addColumn<QString>("nazwa");
        QTest::newRow("KONFIG.TXT") << "KONFIG.TXT";
        QTest::newRow("konfig.txt") << "konfig.txt";
        QTest::newRow("Konfig.Txt") << "Konfig.Txt";
    }
    void nazwaPlikuBezWzgleduNaWielkoscLiter() {
        QFETCH(QString, nazwa);
        pomoc::FolderRoboczy f;
        zapisz(nazwa, "$1\tcom2:19200:mux0:1\t9\r\n");
        ParametryLacza p;
        QCOMPARE(czytajDla(1, &p), 0);
        QCOMPARE(p.port, 2);
        QCOMPARE(p.timeoutSek, 9);
    }

    void dokladnaNazwaWygrywaGdyJestKilkaWariantow() {
        pomoc::FolderRoboczy f;
        zapisz("konfig.txt", "$1\tcom2:9600:mux0:1\t5\r\n");
        zapisz("KONFIG.TXT", "$1\tcom7:9600:mux0:1\t5\r\n");
        ParametryLacza p;
        QCOMPARE(czytajDla(1, &p), 0);
        QCOMPARE(p.port, 7);
    }

    void kilkaLiniNumerPorownywanyJakoLiczba() {
        pomoc::FolderRoboczy f;
        zapisz("KONFIG.TXT", "$01\tcom1:9600:mux1:1\t5\r\n"
                             "\r\n"
                             "$2\tcom1:9600:mux1:2\t5\r\n"
                             "$ 07 \tcom4:28800:mux0:1\t30\n"
                             "$2\tcom9:9600:mux0:1\t5\r\n"
                             "$99\tcom99:9600:mux1:4\t1");
        ParametryLacza p;
        QCOMPARE(czytajDla(1, &p), 0);
        QCOMPARE(p.kanal, 1);
        QCOMPARE(czytajDla(2, &p), 0);
        QCOMPARE(p.kanal, 2); // the first line of a register counts
        QCOMPARE(p.port, 1);
        QCOMPARE(czytajDla(7, &p), 0);
        QCOMPARE(p.baud, 28800);
        QCOMPARE(czytajDla(99, &p), 0);
        QCOMPARE(p.port, 99);
        QCOMPARE(czytajDla(3), 14);
        QCOMPARE(czytajDla(10), 14); // "$01" is not register 10
    }

    void brakPliku_7() {
        pomoc::FolderRoboczy f;
        QCOMPARE(czytajDla(1), 7);
        zapisz("KONFIG.TXT.bak", "$1\tcom1:9600:mux0:1\t5\r\n");
        zapisz("MYKONFIG.TXT", "$1\tcom1:9600:mux0:1\t5\r\n");
        QCOMPARE(czytajDla(1), 7);
        QVERIFY(QDir().mkdir("konfig.txt")); // a folder is no file
        QCOMPARE(czytajDla(1), 7);
    }

    void bledy_data() {
        QTest::addColumn<QByteArray>("tresc");
        QTest::addColumn<int>("kod");
        // 13: nothing there, or the register's line is short of a field.
        QTest::newRow("empty file") << QByteArray() << 13;
        QTest::newRow("blank lines only") << QByteArray("\r\n  \r\n\n") << 13;
        QTest::newRow("number only") << QByteArray("$1\r\n") << 13;
        QTest::newRow("no timeout") << QByteArray("$1\tcom1:9600:mux0:1\r\n") << 13;
        QTest::newRow("empty timeout") << QByteArray("$1\tcom1:9600:mux0:1\t\r\n") << 13;
        QTest::newRow("no channel") << QByteArray("$1\tcom1:9600:mux0\t5\r\n") << 13;
        QTest::newRow("port only") << QByteArray("$1\tcom1\t5\r\n") << 13;
        // 14: the file is fine but names other registers only.
        QTest::newRow("other register") << QByteArray("$2\tcom1:9600:mux0:1\t5\r\n") << 14;
        // 15: values out of range.
        QTest::newRow("port 0") << QByteArray("$1\tcom0:9600:mux0:1\t5") << 15;
        QTest::newRow("port 100") << QByteArray("$1\tcom100:9600:mux0:1\t5") << 15;
        QTest::newRow("port huge")
            << QByteArray("$1\tcom99999999999999999999:9600:mux0:1\t5") << 15;
        QTest::newRow("baud 4800") << QByteArray("$1\tcom1:4800:mux0:1\t5") << 15;
        QTest::newRow("baud 115200") << QByteArray("$1\tcom1:115200:mux0:1\t5") << 15;
        QTest::newRow("mux 2") << QByteArray("$1\tcom1:9600:mux2:1\t5") << 15;
        QTest::newRow("channel 0") << QByteArray("$1\tcom1:9600:mux1:0\t5") << 15;
        QTest::newRow("channel 5") << QByteArray("$1\tcom1:9600:mux1:5\t5") << 15;
        QTest::newRow("timeout 0") << QByteArray("$1\tcom1:9600:mux0:1\t0") << 15;
        QTest::newRow("timeout 1001") << QByteArray("$1\tcom1:9600:mux0:1\t1001") << 15;
        QTest::newRow("timeout negative") << QByteArray("$1\tcom1:9600:mux0:1\t-5") << 15;
        // 16: not the form of a line.
        QTest::newRow("no dollar") << QByteArray("1\tcom1:9600:mux0:1\t5") << 16;
        QTest::newRow("number not a number") << QByteArray("$x1\tcom1:9600:mux0:1\t5") << 16;
        QTest::newRow("bad line before ours")
            << QByteArray("garbage\r\n$1\tcom1:9600:mux0:1\t5") << 16;
        QTest::newRow("no com") << QByteArray("$1\tserial1:9600:mux0:1\t5") << 16;
        QTest::newRow("port letters") << QByteArray("$1\tcomA:9600:mux0:1\t5") << 16;
        QTest::newRow("semicolons") << QByteArray("$1\tcom1;9600;mux0;1\t5") << 16;
        QTest::newRow("five parts") << QByteArray("$1\tcom1:9600:mux0:1:1\t5") << 16;
        QTest::newRow("no mux word") << QByteArray("$1\tcom1:9600:0:1\t5") << 16;
        QTest::newRow("timeout 5s") << QByteArray("$1\tcom1:9600:mux0:1\t5s") << 16;
        QTest::newRow("format beats range") << QByteArray("$1\tcom0:9600:mux0:1\tfive") << 16;
        QTest::newRow("fourth field") << QByteArray("$1\tcom1:9600:mux0:1\t5\textra") << 16;
        QTest::newRow("NUL byte") << QByteArray("$1\tcom1:9600:mux0:1\t5\0", 22) << 16;
        QTest::newRow("binary") << QByteArray("\x01\x02\xff\xfe\x03") << 16;
        QTest::newRow("lone CR") << QByteArray("$1\tcom1:9600:mux0:1\t5\r$2") << 16;
        QTest::newRow("line 256 chars")
            << QByteArray("$1\tcom1:9600:mux0:1\t5\t") + QByteArray(256 - 22, ' ') << 16;
        QTest::newRow("file over 64 KiB")
            << QByteArray("$1\tcom1:9600:mux0:1\t5\r\n") + QByteArray(70000, '\n') << 16;
    }
    void bledy() {
        QFETCH(QByteArray, tresc);
        QFETCH(int, kod);
        pomoc::FolderRoboczy f;
        zapisz("KONFIG.TXT", tresc);
        ParametryLacza p;
        p.port = 42;
        QCOMPARE(int(czytajDla(1, &p)), kod);
        QCOMPARE(p.port, 42); // nothing taken over from a rejected line
        std::string powod;
        czytajKonfiguracje(".", 1, p, &powod);
        QVERIFY(!powod.empty()); // every refusal says why
    }

    // What the user is told, for the mistakes of a line typed by hand.
    void powody_data() {
        QTest::addColumn<QByteArray>("tresc");
        QTest::addColumn<QString>("powod");
        const QString tab = "pola rozdzielone spacjami, a muszą być rozdzielone znakiem TAB";
        const QString postac = " (com<port>:<szybkość>:mux<multiplekser>:<kanał>)";
        QTest::newRow("blanks for TABs")
            << QByteArray("$1 com1:9600:mux0:1 5") << "linia 1: " + tab;
        QTest::newRow("blank for last TAB")
            << QByteArray("$1\tcom1:9600:mux0:1 5") << "linia 1: " + tab;
        QTest::newRow("timeout 0, second line")
            << QByteArray("$2\tcom1:9600:mux0:1\t5\r\n$1\tcom1:9600:mux0:1\t0")
            << "linia 2: timeout 0 poza zakresem 1-1000";
        QTest::newRow("baud 4800")
            << QByteArray("$1\tcom1:4800:mux0:1\t5")
            << "linia 1: szybkość 4800 nie jest jedną z 9600, 19200, 28800, 57600";
        QTest::newRow("no channel") << QByteArray("$1\tcom1:9600:mux0\t5")
                                    << "linia 1: pole portu ma 3 części zamiast czterech" + postac;
        QTest::newRow("port letters")
            << QByteArray("$1\tcomA:9600:mux0:1\t5") << "linia 1: port \"A\" nie jest liczbą";
        QTest::newRow("no com, third line")
            << QByteArray("\r\n\r\n$1\tserial1:9600:mux0:1\t5")
            << "linia 3: pole portu nie zaczyna się od com" + postac;
        QTest::newRow("bad line before ours") << QByteArray("garbage\r\n$1\tcom1:9600:mux0:1\t5")
                                              << "linia 1: nie zaczyna się od $ i numeru kasy";
        QTest::newRow("lone CR")
            << QByteArray("$2\tcom1:9600:mux0:1\t5\r\n$1\tcom1\r")
            << "linia 2: znak sterujący (między polami dozwolony jest tylko TAB)";
        QTest::newRow("other register") << QByteArray("$2\tcom1:9600:mux0:1\t5")
                                        << "żadna linia nie zaczyna się od $ i numeru kasy 1";
    }
    void powody() {
        QFETCH(QByteArray, tresc);
        QFETCH(QString, powod);
        pomoc::FolderRoboczy f;
        zapisz("KONFIG.TXT", tresc);
        ParametryLacza p;
        std::string tekst;
        QVERIFY(czytajKonfiguracje(".", 1, p, &tekst) != 0);
        QCOMPARE(QString::fromStdString(tekst), powod);
    }

    void toleruje_data() {
        QTest::addColumn<QByteArray>("tresc");
        QTest::newRow("upper-case words") << QByteArray("$1\tCOM3:9600:MUX0:1\t5\r\n");
        QTest::newRow("blanks") << QByteArray(" $1 \t com3 : 9600 : mux0 : 1 \t 5 \r\n");
        QTest::newRow("bare LF, no final end") << QByteArray("\n$1\tcom3:9600:mux0:1\t5");
        QTest::newRow("trailing TAB") << QByteArray("$1\tcom3:9600:mux0:1\t5\t\r\n");
        QTest::newRow("line of 255 chars")
            << QByteArray("$1\tcom3:9600:mux0:1\t5\t") + QByteArray(255 - 22, ' ');
        QTest::newRow("others' bad data")
            << QByteArray("$2\tcom0:1:mux9:9\t0\r\n$1\tcom3:9600:mux0:1\t5\r\n");
    }
    void toleruje() {
        QFETCH(QByteArray, tresc);
        pomoc::FolderRoboczy f;
        zapisz("KONFIG.TXT", tresc);
        ParametryLacza p;
        QCOMPARE(czytajDla(1, &p), 0);
        QCOMPARE(p.port, 3);
    }
    // Valid files damaged at random: only configuration codes come out, and an accepted line
    // always carries values the serial link can use.
    void uszkodzonePliki() {
        pomoc::FolderRoboczy f;
        const QByteArray wzor = "$01\tcom1:9600:mux0:1\t5\r\n$2\tcom12:57600:mux1:3\t1000\r\n";
        const char wstawki[] = {'\t', ':', '\r', '\n', '\0', '0', '9', '$', ' ', 'x', '\x80'};
        QRandomGenerator los(777);
        QMap<int, int> kody;
        for (int i = 0; i < 3000; ++i) {
            QByteArray t = wzor;
            for (int z = 0, ile = 1 + los.bounded(3); z < ile && !t.isEmpty(); ++z) {
                const int gdzie = los.bounded(t.size());
                switch (los.bounded(3)) {
                case 0:
                    t[gdzie] = wstawki[los.bounded(int(sizeof wstawki))];
                    break;
                case 1:
                    t.insert(gdzie, wstawki[los.bounded(int(sizeof wstawki))]);
                    break;
                case 2:
                    t.remove(gdzie, 1 + los.bounded(6));
                    break;
                }
            }
            zapisz("KONFIG.TXT", t);
            ParametryLacza p;
            const int k = czytajDla(1 + los.bounded(2), &p);
            ++kody[k];
            QVERIFY2(QList<int>({0, 13, 14, 15, 16}).contains(k), t.toHex().constData());
            if (k == 0) {
                QVERIFY(p.port >= 1 && p.port <= 99);
                QVERIFY(QList<int>({9600, 19200, 28800, 57600}).contains(p.baud));
                QVERIFY(p.multiplekser == 0 || p.multiplekser == 1);
                QVERIFY(p.kanal >= 1 && p.kanal <= 4);
                QVERIFY(p.timeoutSek >= 1 && p.timeoutSek <= 1000);
            }
        }
        for (int k : {0, 13, 14, 15, 16})
            QVERIFY2(kody.value(k) > 0, qPrintable(QString::number(k)));
    }
};

QTEST_GUILESS_MAIN(TestKonfiguracja)
#include "test_kavrel_konfiguracja.moc"
