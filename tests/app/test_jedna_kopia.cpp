// One copy at a time: the lock-name rule, and real processes of a stand-in program using the
// guard with a key of their own (so the tests never meet a user's running program).
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <QUuid>
#include <memory>
#include <signal.h>
#include <vector>

#include "app/TCiaOnlyOne.h"

namespace {

QString program() {
    return qEnvironmentVariable("PIXO_BUILD_DIR") + "/tests/app/kopia_testowa";
}

std::unique_ptr<QProcess> uruchom(const QString& klucz, const QString& tryb = {}) {
    auto p = std::make_unique<QProcess>();
    p->setProgram(program());
    p->setArguments(tryb.isEmpty() ? QStringList{klucz} : QStringList{klucz, tryb});
    p->start();
    return p;
}

bool czekajNa(QProcess& p, const QByteArray& tekst, QByteArray& wyjscie, int ms = 5000) {
    QElapsedTimer t;
    t.start();
    while (!wyjscie.contains(tekst) && t.elapsed() < ms) {
        p.waitForReadyRead(100);
        wyjscie += p.readAllStandardOutput();
        if (p.state() == QProcess::NotRunning) {
            wyjscie += p.readAllStandardOutput();
            break;
        }
    }
    return wyjscie.contains(tekst);
}

} // namespace

class TestJednaKopia : public QObject {
    Q_OBJECT
private slots:
    void nazwaBlokady_data() {
        QTest::addColumn<QString>("klucz");
        QTest::addColumn<QString>("nazwa");
        QTest::newRow("program") << "TALMOPIXO123"
                                 << "TALMOPIXO123";
        QTest::newRow("odstepy i ukosniki") << "D:\\Dane Kasy\\klucz"
                                            << "D:_Dane_Kasy_klucz";
        QTest::newRow("pusty") << ""
                               << "/opt/pixo_klawiatura/pixo-klawiatura";
    }
    void nazwaBlokady() {
        QFETCH(QString, klucz);
        QFETCH(QString, nazwa);
        QCOMPARE(TCiaOnlyOne::NazwaBlokady(klucz, "/opt/pixo klawiatura/pixo-klawiatura"), nazwa);
    }

    // The second copy ends by itself and raises the first, and the first one's open modal box
    // above its window; after the first is killed with SIGKILL the next start gets a window.
    void drugaKopiaPodnosiPierwsza_data() {
        QTest::addColumn<QString>("tryb");
        QTest::addColumn<QByteArray>("podniesiona");
        QTest::newRow("okno") << QString() << QByteArray("podniesione\n");
        QTest::newRow("okno z pytaniem") << "modalne" << QByteArray("podniesione modalne\n");
    }
    void drugaKopiaPodnosiPierwsza() {
        QFETCH(QString, tryb);
        QFETCH(QByteArray, podniesiona);
        const QString klucz = QUuid::createUuid().toString(QUuid::WithoutBraces);
        auto pierwsza = uruchom(klucz, tryb);
        QByteArray w1, w2;
        QVERIFY2(czekajNa(*pierwsza, "okno", w1), w1.constData());
        auto druga = uruchom(klucz);
        QVERIFY(druga->waitForFinished(5000));
        QCOMPARE(druga->readAllStandardOutput(), QByteArray("druga\n"));
        QCOMPARE(druga->exitCode(), 0);
        QVERIFY2(czekajNa(*pierwsza, podniesiona, w1), w1.constData());

        ::kill(static_cast<pid_t>(pierwsza->processId()), SIGKILL);
        QVERIFY(pierwsza->waitForFinished(5000));
        auto trzecia = uruchom(klucz);
        QVERIFY2(czekajNa(*trzecia, "okno", w2), w2.constData());
        trzecia->kill();
        trzecia->waitForFinished(5000);
    }

    // A stopped first copy reads no requests, so its queue fills: every later copy still ends
    // by itself within its three seconds (and its start), never blocked in the send.
    void zatrzymanaPierwszaNieWstrzymuje() {
        const QString klucz = QUuid::createUuid().toString(QUuid::WithoutBraces);
        auto pierwsza = uruchom(klucz);
        QByteArray w;
        QVERIFY2(czekajNa(*pierwsza, "okno", w), w.constData());
        ::kill(static_cast<pid_t>(pierwsza->processId()), SIGSTOP);
        QElapsedTimer czas;
        czas.start();
        std::vector<std::unique_ptr<QProcess>> kopie;
        for (int i = 0; i < 20; ++i)
            kopie.push_back(uruchom(klucz));
        int skonczone = 0;
        for (auto& p : kopie)
            skonczone += p->waitForFinished(int(qMax<qint64>(0, 20000 - czas.elapsed()))) &&
                         p->readAllStandardOutput() == "druga\n";
        qInfo("20 later copies ended after %lld ms", czas.elapsed());
        ::kill(static_cast<pid_t>(pierwsza->processId()), SIGCONT);
        QCOMPARE(skonczone, 20);
    }

    // Ten copies started at once give exactly one window; the nine others end by themselves.
    void dziesiecNaraz() {
        const QString klucz = QUuid::createUuid().toString(QUuid::WithoutBraces);
        std::vector<std::unique_ptr<QProcess>> kopie;
        for (int i = 0; i < 10; ++i)
            kopie.push_back(uruchom(klucz));
        int okna = 0, drugie = 0;
        for (auto& p : kopie) {
            QByteArray w;
            czekajNa(*p, "\n", w, 10000);
            okna += w.contains("okno");
            if (w.contains("druga")) {
                QVERIFY(p->waitForFinished(5000));
                ++drugie;
            }
        }
        QCOMPARE(okna, 1);
        QCOMPARE(drugie, 9);
        for (auto& p : kopie) {
            p->kill();
            p->waitForFinished(5000);
        }
    }
};

QTEST_GUILESS_MAIN(TestJednaKopia)
#include "test_jedna_kopia.moc"
