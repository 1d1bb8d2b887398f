// Finding a goods item by number or part of its name, on a goods list of the full length.
#include <QTest>

#include "keys/WyszukiwanieTowarow.h"

namespace {

// 3071 items as the window shows them, most without a name yet.
QStringList pozycje() {
    const std::pair<int, const char*> nazwy[] = {
        {1, "CHLEB ŻYTNI"},    {2, "MASŁO EKSTRA"},   {3, "ŻUREK ŚLĄSKI"},
        {4, "ZUREK BIAŁY"},    {5, "SER ŻÓŁTY"},      {50, "MLEKO 3,2% 500ML"},
        {500, "SOK JABŁKOWY"}, {501, "jabłka luzem"}, {3071, "WODA ŹRÓDLANA 5L"},
    };
    QStringList p;
    for (int plu = 1; plu <= 3071; ++plu)
        p << QString::number(plu).rightJustified(3, u'0') + u' ';
    for (const auto& [plu, nazwa] : nazwy)
        p[plu - 1] += QString::fromUtf8(nazwa);
    return p;
}

} // namespace

class TestWyszukiwanieTowarow : public QObject {
    Q_OBJECT
private slots:
    void szukanie_data();
    void szukanie();
};

void TestWyszukiwanieTowarow::szukanie_data() {
    QTest::addColumn<QString>("zapytanie");
    QTest::addColumn<QList<int>>("poczatek"); // the first PLU numbers found, in order
    QTest::addColumn<int>("liczba");          // how many in all
    QTest::newRow("numer, potem nazwa z cyframi") << "500" << QList<int>{500, 50} << 2;
    QTest::newRow("numer, potem zaczynajace sie nim") << "50" << QList<int>{50, 500, 501} << 11;
    QTest::newRow("jedna cyfra") << "5" << QList<int>{5, 50, 51} << 112;
    QTest::newRow("zera z przodu jak na liscie") << "050" << QList<int>{50} << 1;
    QTest::newRow("numer spoza listy") << "3072" << QList<int>{} << 0;
    QTest::newRow("cyfra tylko w nazwie") << "0" << QList<int>{50} << 1;
    QTest::newRow("polskie litery") << "masło" << QList<int>{2} << 1;
    QTest::newRow("bez polskich liter") << "maslo" << QList<int>{2} << 1;
    QTest::newRow("wielkie polskie litery") << "ŻÓŁ" << QList<int>{5} << 1;
    QTest::newRow("z polska litera tylko ona") << "żurek" << QList<int>{3} << 1;
    QTest::newRow("bez polskiej litery obie") << "ZUREK" << QList<int>{3, 4} << 2;
    QTest::newRow("od poczatku nazwy najpierw") << "jabl" << QList<int>{501, 500} << 2;
    QTest::newRow("litera na poczatku najpierw") << "ż" << QList<int>{3, 1, 5} << 3;
    QTest::newRow("wszystkie slowa") << " sok   jab " << QList<int>{500} << 1;
    QTest::newRow("slowa w innej kolejnosci") << "żółty ser" << QList<int>{5} << 1;
    QTest::newRow("puste") << "   " << QList<int>{} << 0;
}

void TestWyszukiwanieTowarow::szukanie() {
    QFETCH(QString, zapytanie);
    QFETCH(QList<int>, poczatek);
    QFETCH(int, liczba);
    static const IndeksTowarow indeks(pozycje());
    const std::vector<int> wynik = indeks.szukaj(zapytanie);
    QList<int> plu;
    for (int i : wynik)
        plu << i + 1;
    QCOMPARE(plu.size(), liczba);
    QCOMPARE(plu.mid(0, poczatek.size()), poczatek);
    // Each item once.
    QCOMPARE(QSet<int>(plu.begin(), plu.end()).size(), plu.size());
}

QTEST_GUILESS_MAIN(TestWyszukiwanieTowarow)
#include "test_wyszukiwanie_towarow.moc"
