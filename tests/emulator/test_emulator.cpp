// pixo-emulator as a program: its help, the published link and its removal, refusing to clobber
// a file, the state folder on disk, robustness against garbage on the line, and pacing.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <random>

#include "link/common/KlientKasy.h"
#include "link/common/PortSzeregowy.h"
#include "link/common/Protokol.h"
#include "link/common/Ramka.h"
#include "wspolne/EmulatorTestowy.h"

using namespace pixo;

namespace {

ParametryLacza parametry(const QString& katalog, int baud = 9600) {
    ParametryLacza p;
    p.katalog = katalog.toStdString();
    p.baud = baud;
    p.timeoutSek = 1;
    return p;
}

} // namespace

class TestEmulator : public QObject {
    Q_OBJECT

    QTemporaryDir katalog_;

    QProcess* uruchomSynchronicznie(const QStringList& argumenty) {
        auto* p = new QProcess(this);
        p->start(EmulatorTestowy::program(), argumenty);
        p->waitForFinished(5000);
        return p;
    }

private slots:
    void initTestCase() { QVERIFY(katalog_.isValid()); }

    void pomocPoPolsku() {
        QProcess* p = uruchomSynchronicznie({"--help"});
        QCOMPARE(p->exitCode(), 0);
        const QString t = QString::fromUtf8(p->readAllStandardOutput());
        QVERIFY(t.contains("Użycie: pixo-emulator"));
        for (const char* opcja : {"--folder", "--port", "--state", "--model", "--number", "--mux",
                                  "--no-reply", "--nak", "--corrupt", "--wrong-number",
                                  "--disconnect-after", "--pace", "--turnaround", "--baud"})
            QVERIFY2(t.contains(opcja), opcja);
        QVERIFY(t.contains("139 = PIXO E 3071 PLU"));

        p = uruchomSynchronicznie({"--portt", "3"});
        QCOMPARE(p->exitCode(), 2);
        QVERIFY(QString::fromUtf8(p->readAllStandardError()).contains("nieznana opcja --portt"));
        p = uruchomSynchronicznie({"--mux", "5=01"});
        QCOMPARE(p->exitCode(), 2);
        p = uruchomSynchronicznie({"--number", "123"});
        QCOMPARE(p->exitCode(), 2);
    }

    void dowiazanieZnikaPoZatrzymaniu() {
        const QString k = katalog_.path() + "/dowiazanie";
        QVERIFY(QDir().mkpath(k));
        // A link left behind by a killed run, in another letter case, is replaced.
        QVERIFY(QFile::link("/nie/ma", k + "/COM4"));
        EmulatorTestowy e;
        QVERIFY(e.uruchom(k, {}, 4));
        QCOMPARE(e.wyjscie().trimmed(), "gotowe: " + k + "/com4");
        const QFileInfo i(k + "/com4");
        QVERIFY(i.isSymLink());
        QVERIFY(i.symLinkTarget().startsWith("/dev/pts/"));
        QVERIFY(!QFileInfo::exists(k + "/COM4") || QFileInfo(k + "/COM4").isSymLink());
        QCOMPARE(QDir(k).entryList(QDir::System | QDir::Files).size(), 1);
        e.zatrzymaj();
        QCOMPARE(e.proces().exitStatus(), QProcess::NormalExit);
        QCOMPARE(e.proces().exitCode(), 0);
        QVERIFY(!QFileInfo(k + "/com4").isSymLink());

        // SIGINT (Ctrl+C) cleans up the same way.
        QVERIFY(e.uruchom(k, {}, 4));
        ::kill(static_cast<pid_t>(e.proces().processId()), SIGINT);
        QVERIFY(e.proces().waitForFinished(5000));
        QVERIFY(!QFileInfo(k + "/com4").isSymLink());
    }

    void nieNadpisujeZwyklegoPliku() {
        const QString k = katalog_.path() + "/plik";
        QVERIFY(QDir().mkpath(k));
        QFile f(k + "/com2");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("dane technika");
        f.close();
        QProcess* p = uruchomSynchronicznie({"--folder", k, "--port", "2"});
        QCOMPARE(p->exitCode(), 1);
        QVERIFY(QString::fromUtf8(p->readAllStandardError()).contains("nie jest dowiązaniem"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("dane technika"));
        // A link that leads somewhere is a running emulator's or a user's adapter: kept.
        QVERIFY(QFile::link("/dev/null", k + "/com3"));
        p = uruchomSynchronicznie({"--folder", k, "--port", "3"});
        QCOMPARE(p->exitCode(), 1);
        QVERIFY(QString::fromUtf8(p->readAllStandardError()).contains("wskazuje na /dev/null"));
        QCOMPARE(QFileInfo(k + "/com3").symLinkTarget(), QStringLiteral("/dev/null"));
    }

    void folderStanuNaDysku() {
        const QString s = katalog_.path() + "/stan";
        EmulatorTestowy e;
        QVERIFY(e.uruchom(katalog_.path(), {"--state", s, "--number", "09"}));
        QFile kasa(s + "/kasa.txt");
        QVERIFY(kasa.open(QIODevice::ReadOnly));
        QCOMPARE(kasa.readAll(), QByteArray("model=139\nnumer=09\n"));
        QFile towary(s + "/towary.txt");
        QVERIFY(towary.open(QIODevice::ReadOnly));
        const QList<QByteArray> linie = towary.readAll().split('\n');
        towary.close();
        QCOMPARE(linie.size(), 3072); // 3071 lines and the empty rest after the last newline
        QCOMPARE(linie[0], QByteArray("1\tCHLEB \xbdYTNI     0001"));
        e.zatrzymaj();

        // A goods name edited in the state folder is what the register then sends.
        QByteArray wszystko;
        for (int i = 0; i < 3071; ++i)
            wszystko += (i == 4 ? QByteArray("5\tW\xa5SNIE") : linie[i]) + "\n";
        QVERIFY(towary.open(QIODevice::WriteOnly | QIODevice::Truncate));
        towary.write(wszystko);
        towary.close();
        QVERIFY(e.uruchom(katalog_.path(), {"--state", s}));
        std::unique_ptr<KlientKasy> k;
        QCOMPARE(int(polaczZKasa(parametry(katalog_.path(), 57600), k)), 0);
        std::vector<TowarNaKasie> t;
        QCOMPARE(int(k->czytajTowary(t)), 0);
        QCOMPARE(QByteArray::fromStdString(t[4].nazwa), QByteArray("W\xa5SNIE"));
        std::string n;
        QCOMPARE(int(k->numerKasy(n)), 0);
        QCOMPARE(n, std::string("09"));

        // A hand-edited key definition that no register would take (PLU 0) is not loaded.
        k.reset();
        QFile klawisze(s + "/klawisze.txt");
        QVERIFY(klawisze.open(QIODevice::WriteOnly | QIODevice::Truncate));
        klawisze.write("176\t1\t0\t0\t0\t0\n177\t2\t5\t0\t0\t0\n");
        klawisze.close();
        QVERIFY(e.uruchom(katalog_.path(), {"--state", s}));
        QCOMPARE(int(polaczZKasa(parametry(katalog_.path(), 57600), k)), 0);
        std::vector<DefinicjaNaKasie> d;
        QCOMPARE(int(k->czytajDefinicje(d)), 0);
        QCOMPARE(int(d[0].typ), 0); // 176, direct F1
        QCOMPARE(int(d[4].kod), 177);
        QCOMPARE(int(d[4].typ), 2);
    }

    void kanalyMultiplekseraMajaOsobneStany() {
        const QString s = katalog_.path() + "/stanmux";
        EmulatorTestowy e;
        QVERIFY(e.uruchom(katalog_.path(), {"--state", s, "--mux", "1,3=33:100"}));
        ParametryLacza p = parametry(katalog_.path());
        p.multiplekser = 1;
        p.kanal = 1;
        std::unique_ptr<KlientKasy> k;
        QCOMPARE(int(polaczZKasa(p, k)), 0);
        DefinicjaNaKasie d;
        d.kod = 176;
        d.typ = 2;
        d.pola[0] = 11;
        QCOMPARE(int(k->zapiszDefinicje({d})), 0);
        k.reset();
        p.kanal = 3;
        QCOMPARE(int(polaczZKasa(p, k)), 0);
        std::vector<DefinicjaNaKasie> z;
        QCOMPARE(int(k->czytajDefinicje(z)), 0);
        QCOMPARE(int(z[0].typ), 0); // channel 3's register has its own keyboard
        std::string n;
        QCOMPARE(int(k->numerKasy(n)), 0);
        QCOMPARE(n, std::string("33"));
        k.reset();
        e.zatrzymaj();
        QVERIFY(QFile::exists(s + "/kanal1/klawisze.txt"));
        QVERIFY(QFile::exists(s + "/kanal3/kasa.txt"));
        QFile f(s + "/kanal1/kasa.txt");
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("model=139\nnumer=01\n"));
    }

    void smieciNaLiniiNiePrzeszkadzaja() {
        EmulatorTestowy e;
        QVERIFY(e.uruchom(katalog_.path(), {}));
        PortSzeregowy port;
        std::string powod;
        QCOMPARE(int(port.otworz(katalog_.path().toStdString(), 1, 9600, powod)), 0);
        std::mt19937 g(3);
        std::vector<std::uint8_t> linia;
        for (int i = 0; i < 3000; ++i)
            linia.push_back(static_cast<std::uint8_t>(g()));
        // False starts: a header claiming 1000 bytes, a frame with a broken check.
        for (int b : {0x01, int('S'), 0x00, 0xE8, 0x03, 0x00})
            linia.push_back(static_cast<std::uint8_t>(b));
        auto zla = ramka::koduj(ramka::JEDYNA, 0, {254});
        zla.back() ^= 1;
        linia.insert(linia.end(), zla.begin(), zla.end());
        const auto dobra = ramka::koduj(ramka::JEDYNA, 0, {5, 254}); // exchange 5, command 254
        linia.insert(linia.end(), dobra.begin(), dobra.end());
        QCOMPARE(int(port.pisz(linia.data(), linia.size(), 1000)), 0);
        ramka::Dekoder d;
        ramka::Ramka r;
        QElapsedTimer t;
        t.start();
        bool odpowiedz = false;
        while (!odpowiedz && t.elapsed() < 3000) {
            std::uint8_t b[512];
            const long n = port.czytaj(b, sizeof b, 200);
            QVERIFY(n >= 0);
            d.dodaj(b, static_cast<std::size_t>(n));
            while (d.nastepna(r))
                if (r.poprawna && r.typ == ramka::JEDYNA) {
                    QCOMPARE(r.dane, (std::vector<std::uint8_t>{5, 254, 0, 0, 139}));
                    odpowiedz = true;
                }
        }
        QVERIFY(odpowiedz);
    }

    void tempoLiniiIZwloka() {
        EmulatorTestowy e;
        QVERIFY(e.uruchom(katalog_.path(), {"--pace", "--baud", "9600", "--turnaround", "150"}));
        std::unique_ptr<KlientKasy> k;
        QCOMPARE(int(polaczZKasa(parametry(katalog_.path()), k)), 0);
        std::vector<std::string> p;
        QElapsedTimer t;
        t.start();
        QCOMPARE(int(k->czytajPlatnosci(p)), 0);
        const qint64 ms = t.elapsed();
        // Not faster than the line: request, ACK, reply frames at 1.04 ms a byte, plus the
        // turnaround before the answer.
        std::vector<std::uint8_t> dane;
        protokol::kodujNazwy(p, dane);
        const std::size_t bajty =
            (ramka::NARZUT + 1) + ramka::NARZUT + (ramka::NARZUT + 3 + dane.size()) + ramka::NARZUT;
        const double linia = bajty * 10.0 / 9600 * 1000;
        QVERIFY2(ms >= 150 + linia - 5, qPrintable(QString("%1 ms, linia %2").arg(ms).arg(linia)));
        QVERIFY2(ms < 150 + linia + 500, qPrintable(QString::number(ms)));
    }
};

QTEST_GUILESS_MAIN(TestEmulator)
#include "test_emulator.moc"
