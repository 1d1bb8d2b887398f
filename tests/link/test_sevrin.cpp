// libsevrin.so against the emulator on a pseudo-terminal: what the connection test calls, each
// model byte, the multiplexer channels, every fault and its result code, and port trouble.

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "link/common/PortSzeregowy.h"
#include "wspolne/EmulatorTestowy.h"

#include "link/sevrin/sevrin.h"

namespace {

struct Bufory {
    unsigned char odbior[256];
    unsigned char nadawanie[256] = {};
    Bufory() { std::fill(std::begin(odbior), std::end(odbior), 0xEE); }
};

} // namespace

class TestSevrin : public QObject {
    Q_OBJECT

    QTemporaryDir katalog_;
    QString poprzedni_;

private slots:
    void initTestCase() {
        QVERIFY(katalog_.isValid());
        poprzedni_ = QDir::currentPath();
        // The library looks the port up in the working folder.
        QVERIFY(QDir::setCurrent(katalog_.path()));
    }
    void cleanupTestCase() { QDir::setCurrent(poprzedni_); }
    void cleanup() { UnInitializePort(); }

    void identyfikacjaKazdegoModelu_data() {
        QTest::addColumn<int>("model");
        for (int m : {104, 103, 101, 100, 102, 107, 132, 133, 139, 105, 0, 255})
            QTest::newRow(qPrintable(QString::number(m))) << m;
    }
    void identyfikacjaKazdegoModelu() {
        QFETCH(int, model);
        EmulatorTestowy e;
        QVERIFY(e.uruchom(katalog_.path(), {"--model", QString::number(model)}));
        QCOMPARE(int(InitializePort(1, 9600, 1, 1)), 0);
        Bufory b;
        QCOMPARE(int(RSSequence(254, 4, 0, b.odbior, b.nadawanie)), 0);
        QCOMPARE(int(b.odbior[0]), model);
        QCOMPARE(int(b.odbior[1]), 0); // the rest of the buffer is cleared
        QCOMPARE(int(b.odbior[255]), 0);
        UnInitializePort();
    }

    void numerKasyJakoDwaZnaki() {
        EmulatorTestowy e;
        QVERIFY(e.uruchom(katalog_.path(), {"--number", "07"}));
        QCOMPARE(int(InitializePort(1, 19200, 1, 1)), 0);
        Bufory b;
        QCOMPARE(int(RSSequence(192, 3, 0, b.odbior, b.nadawanie)), 0);
        QCOMPARE(QByteArray(reinterpret_cast<char*>(b.odbior)), QByteArray("07"));
        // 28800 has no termios constant; it must still open and work.
        UnInitializePort();
        QCOMPARE(int(InitializePort(1, 28800, 1, 1)), 0);
        QCOMPARE(int(RSSequence(254, 4, 0, b.odbior, b.nadawanie)), 0);
        QCOMPARE(int(b.odbior[0]), 139);
        // Closing twice, or with nothing open, is harmless.
        UnInitializePort();
        UnInitializePort();
        QCOMPARE(int(RSSequence(254, 4, 0, b.odbior, b.nadawanie)), 62);
    }

    void nieznanyRozkaz() {
        EmulatorTestowy e;
        QVERIFY(e.uruchom(katalog_.path(), {}));
        QCOMPARE(int(InitializePort(1, 9600, 1, 1)), 0);
        Bufory b;
        QCOMPARE(int(RSSequence(77, 4, 0, b.odbior, b.nadawanie)), 25);
        // The link is still usable afterwards.
        QCOMPARE(int(RSSequence(254, 4, 0, b.odbior, b.nadawanie)), 0);
        // A reply without data (an empty delete list) leaves a zeroed buffer and copies from
        // nothing (UBSan reports a copy from a null pointer).
        QCOMPARE(int(RSSequence(82, 4, 0, b.odbior, b.nadawanie)), 0);
        QCOMPARE(QByteArray(reinterpret_cast<char*>(b.odbior), 256), QByteArray(256, '\0'));
    }

    void kanalyMultipleksera() {
        EmulatorTestowy e;
        QVERIFY(e.uruchom(katalog_.path(), {"--mux", "1=11,2=22:100,3=33,4=44:133"}));
        QCOMPARE(int(InitializePort(1, 57600, 1, 1)), 0);
        const struct {
            int kanal;
            const char* numer;
            int model;
        } oczekiwane[] = {{3, "33", 139}, {1, "11", 139}, {4, "44", 133}, {2, "22", 100}};
        for (const auto& o : oczekiwane) {
            QVERIFY(UstawKanal(static_cast<unsigned char>(o.kanal)) != 0);
            Bufory b;
            QCOMPARE(int(RSSequence(254, 4, 0, b.odbior, b.nadawanie)), 0);
            QCOMPARE(int(b.odbior[0]), o.model);
            QCOMPARE(int(RSSequence(192, 3, 0, b.odbior, b.nadawanie)), 0);
            QCOMPARE(QByteArray(reinterpret_cast<char*>(b.odbior)), QByteArray(o.numer));
        }
        QCOMPARE(int(UstawKanal(0)), 0);
        QCOMPARE(int(UstawKanal(9)), 0);
    }

    void kanalBezKasyIKasaBezMultipleksera() {
        {
            EmulatorTestowy e;
            QVERIFY(e.uruchom(katalog_.path(), {"--mux", "2=02"}));
            QCOMPARE(int(InitializePort(1, 9600, 1, 1)), 0);
            QCOMPARE(int(UstawKanal(3)), 0);
            QVERIFY(UstawKanal(2) != 0);
            UnInitializePort();
        }
        EmulatorTestowy e;
        QVERIFY(e.uruchom(katalog_.path(), {}));
        QCOMPARE(int(InitializePort(1, 9600, 1, 1)), 0);
        QElapsedTimer t;
        t.start();
        QCOMPARE(int(UstawKanal(1)), 0); // a bare register refuses at once
        QVERIFY(t.elapsed() < 500);
    }

    void milczacaKasaZaMultiplekseremIBezNiego() {
        {
            // The multiplexer answers for itself; the register behind it stays silent.
            EmulatorTestowy e;
            QVERIFY(e.uruchom(katalog_.path(), {"--mux", "1=01", "--no-reply"}));
            QCOMPARE(int(InitializePort(1, 9600, 1, 1)), 0);
            QVERIFY(UstawKanal(1) != 0);
            Bufory b;
            QCOMPARE(int(RSSequence(254, 4, 0, b.odbior, b.nadawanie)), 21);
            UnInitializePort();
        }
        EmulatorTestowy e;
        QVERIFY(e.uruchom(katalog_.path(), {"--no-reply"}));
        QCOMPARE(int(InitializePort(1, 9600, 1, 1)), 0);
        QElapsedTimer t;
        t.start();
        QCOMPARE(int(UstawKanal(2)), 0);
        QVERIFY(t.elapsed() >= 900 && t.elapsed() < 2000);
    }

    void usterkiDajaSwojeKodyWCzasie_data() {
        QTest::addColumn<QStringList>("argumenty");
        QTest::addColumn<int>("kod");
        QTest::newRow("cisza") << QStringList{"--no-reply"} << 21;
        QTest::newRow("nak") << QStringList{"--nak"} << 24;
        QTest::newRow("zepsute ramki") << QStringList{"--corrupt"} << 23;
        QTest::newRow("rozlaczenie") << QStringList{"--disconnect-after", "10"} << 21;
        QTest::newRow("cisza w tempie linii") << QStringList{"--no-reply", "--pace"} << 21;
    }
    void usterkiDajaSwojeKodyWCzasie() {
        QFETCH(QStringList, argumenty);
        QFETCH(int, kod);
        EmulatorTestowy e;
        QVERIFY(e.uruchom(katalog_.path(), argumenty));
        QCOMPARE(int(InitializePort(1, 9600, 1, 1)), 0);
        Bufory b;
        QElapsedTimer t;
        t.start();
        QCOMPARE(int(RSSequence(254, 4, 0, b.odbior, b.nadawanie)), kod);
        QVERIFY2(t.elapsed() < 2000, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(int(b.odbior[0]), 0xEE); // the receive buffer is left alone on failure
    }

    void innyNumerKasy() {
        EmulatorTestowy e;
        QVERIFY(e.uruchom(katalog_.path(), {"--number", "05", "--wrong-number"}));
        QCOMPARE(int(InitializePort(1, 9600, 1, 1)), 0);
        Bufory b;
        QCOMPARE(int(RSSequence(192, 3, 0, b.odbior, b.nadawanie)), 0);
        const QByteArray numer(reinterpret_cast<char*>(b.odbior));
        QCOMPARE(numer.size(), 2);
        QVERIFY(numer != "05");
    }

    void portKtoregoNieMa() {
        // No com7 here, so the library falls back to /dev/ttyS6, which a container lacks or
        // which is no usable port; either way the result is 62, at once.
        QElapsedTimer t;
        t.start();
        if (QFile::exists("/dev/ttyS6"))
            QSKIP("this machine has /dev/ttyS6");
        QCOMPARE(int(InitializePort(7, 9600, 1, 1)), 62);
        QVERIFY(t.elapsed() < 1000);
        // A dangling link is a port that does not exist either.
        QVERIFY(QFile::link(katalog_.path() + "/nie-ma-takiego", katalog_.path() + "/com8"));
        QCOMPARE(int(InitializePort(8, 9600, 1, 1)), 62);
        // The reason is kept for the program to show under the message.
        char bufor[256];
        QCOMPARE(int(PowodBleduPortu(bufor)), 1);
        QVERIFY2(QString::fromUtf8(bufor).contains("nie istnieje"), bufor);
        std::string powod;
        pixo::PortSzeregowy p;
        QCOMPARE(int(p.otworz(katalog_.path().toStdString(), 8, 9600, powod)), 62);
        QVERIFY2(QString::fromStdString(powod).contains("nie istnieje"), powod.c_str());
        QFile::remove(katalog_.path() + "/com8");
    }

    void niepoprawnaSzybkosc() {
        EmulatorTestowy e;
        QVERIFY(e.uruchom(katalog_.path(), {}));
        QCOMPARE(int(InitializePort(1, 0, 1, 1)), 62);
        QCOMPARE(int(InitializePort(0, 9600, 1, 1)), 62);
        QCOMPARE(int(InitializePort(1, 9600, 1, 1)), 0);
    }

    void zajetyPort() {
        EmulatorTestowy e;
        QVERIFY(e.uruchom(katalog_.path(), {}));
        QCOMPARE(int(InitializePort(1, 9600, 1, 1)), 0);
        // A second opener of the same port, in this process or another.
        pixo::PortSzeregowy drugi;
        std::string powod;
        QCOMPARE(int(drugi.otworz(katalog_.path().toStdString(), 1, 9600, powod)), 62);
        QVERIFY2(QString::fromStdString(powod).contains("zajęty"), powod.c_str());
        // The holder still works, and once it lets go the port can be opened again.
        Bufory b;
        QCOMPARE(int(RSSequence(254, 4, 0, b.odbior, b.nadawanie)), 0);
        UnInitializePort();
        QCOMPARE(int(drugi.otworz(katalog_.path().toStdString(), 1, 9600, powod)), 0);
        drugi.zamknij();
    }

    void tylkoFunkcjeZNaglowkaWidoczne() {
        QProcess nm;
        nm.start("nm", {"-D", "--defined-only",
                        qEnvironmentVariable("PIXO_BUILD_DIR") + "/link/sevrin/libsevrin.so"});
        if (!nm.waitForFinished(10000) || nm.exitCode() != 0)
            QSKIP("nm is not available");
        QStringList nazwy;
        for (const QByteArray& l : nm.readAllStandardOutput().split('\n')) {
            const auto czesci = l.simplified().split(' ');
            if (czesci.size() == 3)
                nazwy << QString::fromLatin1(czesci[2]);
        }
        nazwy.sort();
        QCOMPARE(nazwy, (QStringList{"InitializePort", "PowodBleduPortu", "RSSequence",
                                     "UnInitializePort", "UstawKanal"}));
    }
};

QTEST_GUILESS_MAIN(TestSevrin)
#include "test_sevrin.moc"
