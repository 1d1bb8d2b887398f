// The key definition table, the key code tables and the key names.
#include <QTest>

#include "core/BladProgramu.h"
#include "keys/TabelaKlawiszy.h"

class TestTabelaKlawiszy : public QObject {
    Q_OBJECT
private slots:
    void nowaTabelaJestNiezdefiniowana();
    void kodyKlawiszyWarstw_data();
    void kodyKlawiszyWarstw();
    void kodySaRozneIWracajaDoPozycji();
    void kodySpozaTabelNieMajaPozycji();
    void nazwyKlawiszy();
    void pozycjeSpozaWarstwySaOdrzucane();
    void zapisZastepujeCalyRekord();
    void czyszczenieRodzajuZostawiaPola();
    void liczbaPlatnosci();
};

void TestTabelaKlawiszy::nowaTabelaJestNiezdefiniowana() {
    TabelaKlawiszy t;
    for (int w = 0; w < 4; ++w)
        for (int k = 0; k < liczbaKlawiszy(w); ++k)
            QCOMPARE(t.odczytaj(w, k), TDefKlawisza{});
    QCOMPARE(t.liczbaPlatnosci(), 0);
}

void TestTabelaKlawiszy::kodyKlawiszyWarstw_data() {
    QTest::addColumn<int>("warstwa");
    QTest::addColumn<QList<int>>("kody");
    QTest::newRow("obie Alt") << 0 << QList<int>{214, 215, 216, 217, 218};
    QTest::newRow("lewy Alt") << 1 << QList<int>{65, 66, 67, 68, 69, 71, 72, 73, 74};
    QTest::newRow("prawy Alt") << 2 << QList<int>{164, 38, 143, 37, 168, 41, 45, 43, 61};
    QTest::newRow("bezposrednio") << 3 << QList<int>{176, 177, 178, 179, 180};
}

void TestTabelaKlawiszy::kodyKlawiszyWarstw() {
    QFETCH(int, warstwa);
    QFETCH(QList<int>, kody);
    QCOMPARE(liczbaKlawiszy(warstwa), kody.size());
    for (int k = 0; k < kody.size(); ++k) {
        QCOMPARE(int(kodKlawisza(warstwa, k)), kody[k]);
        const auto p = pozycjaKodu(kody[k]);
        QVERIFY(p.has_value());
        QCOMPARE(p->warstwa, warstwa);
        QCOMPARE(p->klawisz, k);
    }
}

void TestTabelaKlawiszy::kodySaRozneIWracajaDoPozycji() {
    QSet<int> kody;
    int pozycje = 0;
    for (int w = 0; w < 4; ++w)
        for (int k = 0; k < liczbaKlawiszy(w); ++k, ++pozycje)
            kody.insert(kodKlawisza(w, k));
    QCOMPARE(pozycje, 28);
    QCOMPARE(kody.size(), 28);
}

void TestTabelaKlawiszy::kodySpozaTabelNieMajaPozycji() {
    // 70 is the letter F, which is no key; the others border on the tables' ranges.
    for (int kod : {70, 0, 64, 75, 175, 181, 213, 219, 255, 256, -1, 1000})
        QVERIFY2(!pozycjaKodu(kod).has_value(), qPrintable(QString::number(kod)));
    int znalezione = 0;
    for (int kod = 0; kod < 256; ++kod)
        znalezione += pozycjaKodu(kod).has_value();
    QCOMPARE(znalezione, 28);
}

void TestTabelaKlawiszy::nazwyKlawiszy() {
    const QStringList lewy = {"A", "B", "C", "D", "E", "G", "H", "I", "J"};
    const QStringList prawy = {"Ą", "&", "Ć", "%", "Ę", ")", "-", "+", "="};
    for (int k = 0; k < 9; ++k) {
        QCOMPARE(nazwaKlawisza(1, k), lewy[k]);
        QCOMPARE(nazwaKlawisza(2, k), prawy[k]);
    }
    for (int k = 0; k < 5; ++k) {
        const QString f = QStringLiteral("F%1").arg(k + 1);
        QCOMPARE(nazwaKlawisza(3, k), f);
        QCOMPARE(nazwaKlawisza(0, k), QStringLiteral("LEWY+PR.ALT+") + f);
    }
}

void TestTabelaKlawiszy::pozycjeSpozaWarstwySaOdrzucane() {
    QVERIFY(!istniejeKlawisz(3, 5));
    QVERIFY(!istniejeKlawisz(0, 5));
    QVERIFY(istniejeKlawisz(1, 8));
    QVERIFY(!istniejeKlawisz(2, 9));
    QVERIFY(!istniejeKlawisz(4, 0));
    QVERIFY(!istniejeKlawisz(-1, 0));
    QVERIFY(!istniejeKlawisz(1, -1));
    TabelaKlawiszy t;
    QVERIFY_THROWS_EXCEPTION(BladProgramu, t.odczytaj(3, 5));
    QVERIFY_THROWS_EXCEPTION(BladProgramu, t.zapisz(0, 7, TDefKlawisza{}));
    QVERIFY_THROWS_EXCEPTION(BladProgramu, kodKlawisza(3, 5));
    QVERIFY_THROWS_EXCEPTION(BladProgramu, nazwaKlawisza(-1, 0));
    QCOMPARE(t, TabelaKlawiszy{});
}

void TestTabelaKlawiszy::zapisZastepujeCalyRekord() {
    TabelaKlawiszy t;
    TDefKlawisza towar;
    towar.Rodzaj = RodzajTowar;
    towar.PLU = 3071;
    towar.Pojedynczo = 1;
    towar.Paragon = 1;
    t.zapisz(2, 8, towar);
    QCOMPARE(t.DefPrawyAlt[8], towar);
    TDefKlawisza rabat;
    rabat.Rodzaj = RodzajRabatNarzut;
    rabat.Numer = 3;
    rabat.Wartosc = 150;
    rabat.Zakres = 2;
    t.zapisz(2, 8, rabat);
    QCOMPARE(t.odczytaj(2, 8), rabat);
    QCOMPARE(t.odczytaj(2, 8).PLU, 0);
    // Each layer has its own table: the same key number elsewhere is untouched.
    QCOMPARE(t.odczytaj(1, 8), TDefKlawisza{});
    t.zapisz(0, 4, rabat);
    QCOMPARE(t.DefLewyPrawyAlt[4], rabat);
    QCOMPARE(t.DefBezposrednio[4], TDefKlawisza{});
}

void TestTabelaKlawiszy::czyszczenieRodzajuZostawiaPola() {
    TabelaKlawiszy t;
    TDefKlawisza d;
    d.Kod = 65;
    d.Rodzaj = RodzajPlatnosc;
    d.Numer = 4;
    d.Kwota = 1250;
    t.zapisz(1, 0, d);
    t.zapisz(3, 4, d);
    t.wyczyscRodzaj(1, 0);
    TDefKlawisza oczekiwany = d;
    oczekiwany.Rodzaj = RodzajNiezdefiniowany;
    QCOMPARE(t.odczytaj(1, 0), oczekiwany);
    QCOMPARE(t.odczytaj(3, 4), d);
    t.wyczyscWszystkieRodzaje();
    QCOMPARE(t.odczytaj(3, 4), oczekiwany);
    QCOMPARE(t.liczbaPlatnosci(), 0);
}

void TestTabelaKlawiszy::liczbaPlatnosci() {
    TabelaKlawiszy t;
    TDefKlawisza platnosc;
    platnosc.Rodzaj = RodzajPlatnosc;
    platnosc.Numer = 1;
    TDefKlawisza waluta = platnosc;
    waluta.Rodzaj = RodzajWaluta;
    // The first and last key of every layer.
    for (int w = 0; w < 4; ++w) {
        t.zapisz(w, 0, platnosc);
        t.zapisz(w, liczbaKlawiszy(w) - 1, platnosc);
    }
    t.zapisz(1, 3, waluta);
    QCOMPARE(t.liczbaPlatnosci(), 8);
    QCOMPARE(t.liczbaPlatnosci(PozycjaKlawisza{2, 8}), 7);
    QCOMPARE(t.liczbaPlatnosci(PozycjaKlawisza{1, 3}), 8);
    // A position that holds no payment, or does not exist, changes nothing.
    QCOMPARE(t.liczbaPlatnosci(PozycjaKlawisza{3, 2}), 8);
    QCOMPARE(t.liczbaPlatnosci(PozycjaKlawisza{3, 7}), 8);
    t.wyczyscRodzaj(0, 4);
    QCOMPARE(t.liczbaPlatnosci(), 7);
}

QTEST_APPLESS_MAIN(TestTabelaKlawiszy)
#include "test_tabela_klawiszy.moc"
