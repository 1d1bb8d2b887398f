// Files survive a writer killed at any moment: a child process writes one file over and over
// (through the whole-file writer and through the line-file writer of the communication
// dialog, by which every file of the project is written) and is killed with SIGKILL at a
// random moment. The file is then always one whole version, and the next write clears what
// the killed writer left behind.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

#include "link/common/PlikTymczasowy.h"
#include "link/kavrel/ZapisPliku.h"

namespace {

constexpr int kRozmiar = 64 * 1024;

// Version n of the file: kRozmiar bytes of one letter, so that a mix of two is seen.
std::string wersja(int n) {
    return std::string(kRozmiar, static_cast<char>('a' + n % 26));
}

bool calaWersja(const QByteArray& d) {
    return d.size() == kRozmiar && d.count(d[0]) == kRozmiar;
}

// The line-file writer's version: lines of one letter, CR LF each.
std::string liniaWersji(int n) {
    return std::string(250, static_cast<char>('a' + n % 26));
}

bool calaWersjaLinii(const QByteArray& d) {
    const QList<QByteArray> linie = d.split('\n');
    if (d.isEmpty() || linie.size() != 101 || !linie.last().isEmpty())
        return false;
    for (int i = 0; i < 100; ++i)
        if (linie[i] != QByteArray(250, d[0]) + "\r")
            return false;
    return true;
}

[[noreturn]] void piszBezKonca(bool liniami) {
    for (int n = 1;; ++n) {
        if (!liniami) {
            pixo::zapiszCalyPlik("plik.txt", wersja(n));
            continue;
        }
        std::int32_t u = 0;
        char nazwa[256] = "KONFIG.TXT";
        if (!pixo::kavrel::otworzPlikLiniowy(&u, nazwa, 1))
            continue;
        char linia[256] = {};
        const std::string l = liniaWersji(n);
        std::copy(l.begin(), l.end(), linia);
        for (int i = 0; i < 100; ++i)
            pixo::kavrel::zapiszLiniePliku(u, linia);
        pixo::kavrel::zamknijPlikLiniowy(&u);
    }
}

int tymczasowe() {
    return static_cast<int>(
        QDir(".").entryList({"*.tmp"}, QDir::Files | QDir::Hidden | QDir::System).size());
}

} // namespace

class TestZapisAwaryjny : public QObject {
    Q_OBJECT
private slots:
    void zabityPisarzZostawiaCalyPlik_data() {
        QTest::addColumn<bool>("liniami");
        QTest::newRow("caly plik") << false;
        QTest::newRow("plik liniowy") << true;
    }
    void zabityPisarzZostawiaCalyPlik() {
        QFETCH(bool, liniami);
        QTemporaryDir katalog;
        const QString poprzedni = QDir::currentPath();
        QVERIFY(QDir::setCurrent(katalog.path()));
        const char* nazwa = liniami ? "KONFIG.TXT" : "plik.txt";
        std::mt19937 los(liniami ? 11 : 7);
        int zabite = 0;
        for (int proba = 0; proba < 150; ++proba) {
            const pid_t dziecko = ::fork();
            QVERIFY(dziecko >= 0);
            if (dziecko == 0)
                piszBezKonca(liniami);
            ::usleep(1000 + los() % 20000);
            ::kill(dziecko, SIGKILL);
            int status = 0;
            ::waitpid(dziecko, &status, 0);
            zabite += WIFSIGNALED(status);
            QFile f(nazwa);
            if (!f.exists())
                continue; // killed before its first file was in place
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray d = f.readAll();
            QVERIFY2(liniami ? calaWersjaLinii(d) : calaWersja(d),
                     qPrintable(QStringLiteral("próba %1: %2 B").arg(proba).arg(d.size())));
            // Each write clears what killed writers left: the last one's at most, and the one
            // before it when that kill came between making a temporary and clearing.
            QVERIFY(tymczasowe() <= 2);
        }
        QVERIFY(zabite >= 140);
        // One more write leaves nothing else behind.
        if (liniami)
            piszRaz();
        else
            QVERIFY(pixo::zapiszCalyPlik("plik.txt", wersja(0)));
        QCOMPARE(tymczasowe(), 0);
        QDir::setCurrent(poprzedni);
    }

private:
    static void piszRaz() {
        std::int32_t u = 0;
        char nazwa[256] = "KONFIG.TXT";
        char linia[256] = "$01";
        QVERIFY(pixo::kavrel::otworzPlikLiniowy(&u, nazwa, 1));
        QVERIFY(pixo::kavrel::zapiszLiniePliku(u, linia));
        QVERIFY(pixo::kavrel::zamknijPlikLiniowy(&u));
    }
};

QTEST_GUILESS_MAIN(TestZapisAwaryjny)
#include "test_zapis_awaryjny.moc"
