// The texts of the progress window: the counts and the time left at the rate seen so far.
#include <QTest>

#include "core/PostepPracy.h"

class TestPostep : public QObject {
    Q_OBJECT
private slots:
    void pozostalo_data();
    void pozostalo();
};

void TestPostep::pozostalo_data() {
    QTest::addColumn<QList<qint64>>("punkty"); // items before, ms before, items now, ms now, total
    QTest::addColumn<QString>("tekst");
    QTest::newRow("nic jeszcze") << QList<qint64>{0, 0, 0, 800, 3071}
                                 << "Pozostały czas: obliczanie...";
    QTest::newRow("brak calosci") << QList<qint64>{0, 0, 5, 800, 0}
                                  << "Pozostały czas: obliczanie...";
    QTest::newRow("10 ms na towar") << QList<qint64>{100, 1000, 200, 2000, 3071}
                                    << "Pozostało ok. 29 s"; // 2871 items at 10 ms, rounded up
    QTest::newRow("minuty") << QList<qint64>{0, 0, 100, 1000, 12600} << "Pozostało ok. 2 min 05 s";
    QTest::newRow("koniec") << QList<qint64>{0, 0, 3071, 9000, 3071} << "Pozostało ok. 0 s";
}

void TestPostep::pozostalo() {
    QFETCH(QList<qint64>, punkty);
    QFETCH(QString, tekst);
    QCOMPARE(TekstPozostalo(PozostaloSekund(unsigned(punkty[0]), punkty[1], unsigned(punkty[2]),
                                            punkty[3], unsigned(punkty[4]))),
             tekst);
}

QTEST_GUILESS_MAIN(TestPostep)
#include "test_postep.moc"
