// A key definition in the panel's words, with the lists read from the window's own form: every
// kind, the check boxes, amounts with a comma, numbers outside a list.
#include <QFile>
#include <QTest>

#include "keys/OpisDefinicji.h"

namespace {

TDefKlawisza rekord(std::uint8_t rodzaj, std::uint8_t numer, std::int64_t wartosc = 0) {
    TDefKlawisza d;
    d.Rodzaj = rodzaj;
    d.Numer = numer;
    d.Kwota = d.Wartosc = wartosc;
    return d;
}

} // namespace

Q_DECLARE_METATYPE(TDefKlawisza)

class TestOpisDefinicji : public QObject {
    Q_OBJECT
    ListyPanelu m_listy;

private slots:
    void initTestCase() {
        QFile formularz(qEnvironmentVariable("PIXO_SOURCE_DIR") + "/app/TForm3.ui");
        QVERIFY(formularz.open(QIODevice::ReadOnly));
        m_listy = CzytajListyPanelu(formularz);
    }

    void opis_data() {
        QTest::addColumn<TDefKlawisza>("def");
        QTest::addColumn<QString>("opis");
        TDefKlawisza towar = rekord(1, 0);
        towar.PLU = 500;
        QTest::newRow("goods") << towar << "1 - TOWAR: PLU 500";
        towar.Pojedynczo = towar.Paragon = 1;
        QTest::newRow("goods, boxes")
            << towar << "1 - TOWAR: PLU 500, sprzedaż jednej sztuki, zakończenie paragonu";
        QTest::newRow("undefined") << rekord(0, 7, 100) << "NIEZDEF.";
        QTest::newRow("unknown kind") << rekord(9, 1) << "NIEZDEF.";
        QTest::newRow("function") << rekord(2, 1) << "2 - FUNKCJA: 01 WŁĄCZENIE KASJERA";
        QTest::newRow("last function") << rekord(2, 40) << "2 - FUNKCJA: 40 TOWARÓW STATYSTYCZNY";
        QTest::newRow("function 41") << rekord(2, 41) << "2 - FUNKCJA: numer 41 spoza listy";
        QTest::newRow("cash") << rekord(3, 1, 1250) << "3 - PŁATNOŚĆ: GOTÓWKA, kwota 12,50 zł";
        QTest::newRow("payment 2") << rekord(3, 2, 5) << "3 - PŁATNOŚĆ: PŁATNOŚĆ 1, kwota 0,05 zł";
        QTest::newRow("currency") << rekord(4, 8, 100000) << "4 - WALUTA: 08, kwota 1000,00";
        TDefKlawisza rabat = rekord(5, 1, 15);
        rabat.Zakres = 1;
        QTest::newRow("percent discount")
            << rabat << "5 - RABAT/NARZUT: 1 RABAT PROCENTOWY, procent 15, 1 TYLKO NA POZYCJĘ";
        rabat = rekord(5, 4, 250);
        rabat.Zakres = 3;
        QTest::newRow("amount markup")
            << rabat << "5 - RABAT/NARZUT: 4 NARZUT KWOTOWY, kwota 2,50, 3 NA POZYCJĘ LUB PARAG";
    }
    void opis() {
        QFETCH(TDefKlawisza, def);
        QFETCH(QString, opis);
        QCOMPARE(OpisDefinicji(def, m_listy), opis);
    }
};

QTEST_GUILESS_MAIN(TestOpisDefinicji)
#include "test_opis_definicji.moc"
