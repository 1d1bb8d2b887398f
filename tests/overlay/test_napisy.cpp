// The label fill: which labels it fills, from which layer, with which text, and what it leaves
// alone.

#include <QtTest>

#include "keys/TabelaKlawiszy.h"
#include "overlay/NapisyKlawiszy.h"

namespace {

QStringList funkcje() {
    QStringList f;
    for (int i = 1; i <= 40; ++i)
        f << QStringLiteral("%1   FUNKCJA %2").arg(i, 2, 10, QLatin1Char('0')).arg(i);
    f[0] = QStringLiteral("01   WŁĄCZENIE    KASJERA");
    f[4] = QStringLiteral("05   ZESTAW RAPORTÓW");
    f[12] = QStringLiteral("13   MENU");
    return f;
}

QStringList platnosci() {
    QStringList p{QStringLiteral("GOTÓWKA")};
    for (int i = 1; i <= 6; ++i)
        p << QStringLiteral("PŁATNOŚĆ  %1").arg(i);
    return p;
}

QStringList waluty() {
    QStringList w;
    for (int i = 1; i <= 8; ++i)
        w << QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
    return w;
}

TDefKlawisza def(std::uint8_t rodzaj, std::uint8_t numer = 0, std::uint16_t plu = 0) {
    TDefKlawisza d;
    d.Rodzaj = rodzaj;
    d.Numer = numer;
    d.PLU = plu;
    return d;
}

} // namespace

class TestNapisy : public QObject {
    Q_OBJECT
private slots:
    void init();
    void kolejnoscNapisow();
    void tekstyZDefinicji_data();
    void tekstyZDefinicji();
    void nazwaTowaruZ852();
    void towarPozaLista();
    void pelneWypelnienie();
    void tylkoPusteNapisy();
    void rabatZostawiaNapis();
    void warstwyKlawiszy5do8();
    void warstwaObuAltowNieczytana();

private:
    std::vector<QByteArray> m_towary;
    ZrodlaNapisow m_zrodla;
    TabelaKlawiszy m_tabela;
};

void TestNapisy::init() {
    m_towary.assign(3072, QByteArray());
    m_zrodla = {funkcje(), platnosci(), waluty(), &m_towary};
    m_tabela = TabelaKlawiszy();
}

void TestNapisy::kolejnoscNapisow() {
    // Window order: edit0, edit0a, Edit1, Edit1a ... Edit4a, Edit5 ... Edit8.
    QCOMPARE(indeksNapisu(0), 0);
    QCOMPARE(indeksNapisu(0, 1), 1);
    QCOMPARE(indeksNapisu(4), 8);
    QCOMPARE(indeksNapisu(4, 1), 9);
    QCOMPARE(indeksNapisu(5), 10);
    QCOMPARE(indeksNapisu(8), 13);
    // File and drawing order: first lines of keys 0-4, second lines, then keys 5-8.
    const std::array<int, 14> oczekiwane = {
        indeksNapisu(0),    indeksNapisu(1),    indeksNapisu(2),    indeksNapisu(3),
        indeksNapisu(4),    indeksNapisu(0, 1), indeksNapisu(1, 1), indeksNapisu(2, 1),
        indeksNapisu(3, 1), indeksNapisu(4, 1), indeksNapisu(5),    indeksNapisu(6),
        indeksNapisu(7),    indeksNapisu(8)};
    QCOMPARE(kKolejnoscPliku, oczekiwane);
    QVERIFY(!napisJednoliniowy(indeksNapisu(4, 1)));
    QVERIFY(napisJednoliniowy(indeksNapisu(5)));
}

void TestNapisy::tekstyZDefinicji_data() {
    QTest::addColumn<int>("rodzaj");
    QTest::addColumn<int>("numer");
    QTest::addColumn<QString>("napis");
    QTest::newRow("funkcja 5") << 2 << 5 << "ZESTAW";
    QTest::newRow("funkcja 13") << 2 << 13 << "MENU";
    QTest::newRow("funkcja 1") << 2 << 1 << "WŁĄCZE";
    QTest::newRow("funkcja 41 poza lista") << 2 << 41 << "";
    QTest::newRow("funkcja 0") << 2 << 0 << "";
    QTest::newRow("platnosc 1") << 3 << 1 << "GOTÓWK";
    QTest::newRow("platnosc 2") << 3 << 2 << "PŁATNO";
    QTest::newRow("platnosc 8 poza lista") << 3 << 8 << "";
    QTest::newRow("waluta 3") << 4 << 3 << "03";
    QTest::newRow("niezdefiniowany") << 0 << 0 << "";
}

void TestNapisy::tekstyZDefinicji() {
    QFETCH(int, rodzaj);
    QFETCH(int, numer);
    QFETCH(QString, napis);
    m_tabela.DefBezposrednio[2] = def(rodzaj, numer);
    Napisy n;
    n[indeksNapisu(2)].tekst = QStringLiteral("STARY");
    WypelnijNapisy(n, m_tabela, WarstwaBezposrednio, m_zrodla, true);
    QCOMPARE(n[indeksNapisu(2)].tekst, napis);
    QVERIFY(n[indeksNapisu(2)].widoczny);
}

void TestNapisy::nazwaTowaruZ852() {
    // "ąbc" in code page 852 starts with 0xA5.
    m_towary[17] = QByteArray("\xA5"
                              "bcdefgh");
    m_towary[3071] = QByteArray("\xBD\xA2\x88\x86 \xE0");
    m_tabela.DefBezposrednio[0] = def(RodzajTowar, 0, 17);
    m_tabela.DefBezposrednio[1] = def(RodzajTowar, 0, 3071);
    m_tabela.DefBezposrednio[2] = def(RodzajTowar, 0, 5); // a PLU the import did not fill
    Napisy n;
    WypelnijNapisy(n, m_tabela, WarstwaBezposrednio, m_zrodla, true);
    QCOMPARE(n[indeksNapisu(0)].tekst, QStringLiteral("ąbcdef"));
    QCOMPARE(n[indeksNapisu(1)].tekst, QStringLiteral("Żółć Ó"));
    QCOMPARE(n[indeksNapisu(2)].tekst, QString());
    QVERIFY(n[indeksNapisu(2)].widoczny);
}

void TestNapisy::towarPozaLista() {
    // A definition read from a file may name any PLU; beyond the list the label is empty.
    m_tabela.DefBezposrednio[0] = def(RodzajTowar, 0, 3072);
    m_tabela.DefBezposrednio[1] = def(RodzajTowar, 0, 65535);
    Napisy n;
    n[indeksNapisu(0)].tekst = QStringLiteral("X");
    WypelnijNapisy(n, m_tabela, WarstwaBezposrednio, m_zrodla, true);
    QCOMPARE(n[indeksNapisu(0)].tekst, QString());
    QCOMPARE(n[indeksNapisu(1)].tekst, QString());
}

void TestNapisy::pelneWypelnienie() {
    // After a delete every direct definition is undefined: first lines become empty and shown;
    // second lines keep their text and visibility.
    Napisy n;
    for (int i = 0; i < kLiczbaNapisow; ++i)
        n[i] = {QStringLiteral("T%1").arg(i), false};
    m_tabela.DefLewyAlt[6] = def(RodzajFunkcja, 13);
    WypelnijNapisy(n, m_tabela, WarstwaBezposrednio, m_zrodla, true);
    for (int k = 0; k < 5; ++k) {
        QCOMPARE(n[indeksNapisu(k)], (StanNapisu{QString(), true}));
        QCOMPARE(n[indeksNapisu(k, 1)],
                 (StanNapisu{QStringLiteral("T%1").arg(indeksNapisu(k, 1)), false}));
    }
    // Keys 5 to 8 are not touched on the direct layer.
    for (int k = 5; k < 9; ++k)
        QCOMPARE(n[indeksNapisu(k)],
                 (StanNapisu{QStringLiteral("T%1").arg(indeksNapisu(k)), false}));
    // On the left-Alt layer they are refilled from its surviving definitions.
    WypelnijNapisy(n, m_tabela, WarstwaLewyAlt, m_zrodla, true);
    QCOMPARE(n[indeksNapisu(6)], (StanNapisu{QStringLiteral("MENU"), true}));
    QCOMPARE(n[indeksNapisu(5)], (StanNapisu{QString(), true}));
}

void TestNapisy::tylkoPusteNapisy() {
    m_tabela.DefBezposrednio[0] = def(RodzajFunkcja, 5);
    m_tabela.DefBezposrednio[1] = def(RodzajFunkcja, 13);
    m_tabela.DefBezposrednio[2] = def(RodzajNiezdefiniowany);
    Napisy n;
    n[indeksNapisu(0)] = {QStringLiteral("MOJ TEKS"), true}; // typed by the user: 8 characters
    n[indeksNapisu(2)] = {QStringLiteral("INNY"), false};
    WypelnijNapisy(n, m_tabela, WarstwaBezposrednio, m_zrodla, false);
    QCOMPARE(n[indeksNapisu(0)], (StanNapisu{QStringLiteral("MOJ TEKS"), true}));
    QCOMPARE(n[indeksNapisu(1)], (StanNapisu{QStringLiteral("MENU"), true}));
    // A non-empty label is left alone whatever its definition, also its visibility.
    QCOMPARE(n[indeksNapisu(2)], (StanNapisu{QStringLiteral("INNY"), false}));
    // An empty undefined label is shown.
    QCOMPARE(n[indeksNapisu(3)], (StanNapisu{QString(), true}));
}

void TestNapisy::rabatZostawiaNapis() {
    m_tabela.DefBezposrednio[0] = def(RodzajRabatNarzut, 1);
    m_tabela.DefBezposrednio[1] = def(RodzajRabatNarzut, 2);
    m_tabela.DefBezposrednio[2] = def(RodzajRabatNarzut, 3);
    Napisy n;
    n[indeksNapisu(0)] = {QStringLiteral("RABAT 10"), false};
    n[indeksNapisu(1)] = {QStringLiteral("NARZUT"), true};
    WypelnijNapisy(n, m_tabela, WarstwaBezposrednio, m_zrodla, true);
    // Text and visibility stay, only a text of more than six characters is cut.
    QCOMPARE(n[indeksNapisu(0)], (StanNapisu{QStringLiteral("RABAT "), false}));
    QCOMPARE(n[indeksNapisu(1)], (StanNapisu{QStringLiteral("NARZUT"), true}));
    QCOMPARE(n[indeksNapisu(2)], (StanNapisu{QString(), false}));
    // With only empty labels filled, the typed 8 characters stay whole.
    n[indeksNapisu(0)].tekst = QStringLiteral("RABAT 10");
    WypelnijNapisy(n, m_tabela, WarstwaBezposrednio, m_zrodla, false);
    QCOMPARE(n[indeksNapisu(0)].tekst, QStringLiteral("RABAT 10"));
}

void TestNapisy::warstwyKlawiszy5do8() {
    m_tabela.DefLewyAlt[5] = def(RodzajPlatnosc, 1);
    m_tabela.DefLewyAlt[8] = def(RodzajWaluta, 8);
    m_tabela.DefPrawyAlt[5] = def(RodzajFunkcja, 5);
    m_tabela.DefPrawyAlt[8] = def(RodzajPlatnosc, 7);
    m_tabela.DefLewyAlt[0] = def(RodzajFunkcja, 13); // layer 1, key 0: never a label source
    m_tabela.DefBezposrednio[0] = def(RodzajPlatnosc, 2);

    Napisy lewy;
    WypelnijNapisy(lewy, m_tabela, WarstwaLewyAlt, m_zrodla, true);
    QCOMPARE(lewy[indeksNapisu(0)].tekst, QStringLiteral("PŁATNO"));
    QCOMPARE(lewy[indeksNapisu(5)].tekst, QStringLiteral("GOTÓWK"));
    QCOMPARE(lewy[indeksNapisu(8)].tekst, QStringLiteral("08"));

    Napisy prawy;
    WypelnijNapisy(prawy, m_tabela, WarstwaPrawyAlt, m_zrodla, true);
    QCOMPARE(prawy[indeksNapisu(0)].tekst, QStringLiteral("PŁATNO"));
    QCOMPARE(prawy[indeksNapisu(5)].tekst, QStringLiteral("ZESTAW"));
    QCOMPARE(prawy[indeksNapisu(8)].tekst, QStringLiteral("PŁATNO"));
    for (int i : {1, 3, 5, 7, 9})
        QCOMPARE(prawy[i], StanNapisu());
}

void TestNapisy::warstwaObuAltowNieczytana() {
    m_tabela.DefLewyPrawyAlt[0] = def(RodzajFunkcja, 13);
    m_tabela.DefLewyAlt[5] = def(RodzajFunkcja, 13);
    Napisy n;
    n[indeksNapisu(5)] = {QStringLiteral("ZOSTAJE"), false};
    WypelnijNapisy(n, m_tabela, WarstwaLewyPrawyAlt, m_zrodla, true);
    QCOMPARE(n[indeksNapisu(0)], (StanNapisu{QString(), true}));
    QCOMPARE(n[indeksNapisu(5)], (StanNapisu{QStringLiteral("ZOSTAJE"), false}));
}

QTEST_APPLESS_MAIN(TestNapisy)
#include "test_napisy.moc"
