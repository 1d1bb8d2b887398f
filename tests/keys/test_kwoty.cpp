// Amount formatting, normalization and reading, and the click areas of the keys.
#include <QTest>

#include "keys/Kwoty.h"
#include "keys/Trafienia.h"

using Kwota = std::optional<std::int64_t>;
Q_DECLARE_METATYPE(Kwota)

class TestKwoty : public QObject {
    Q_OBJECT
private slots:
    void formatowanie_data();
    void formatowanie();
    void normalizacja_data();
    void normalizacja();
    void odczytKwoty_data();
    void odczytKwoty();
    void czescCalkowita_data();
    void czescCalkowita();
    void normalizacjaDajeTekstCzytelnyJakoKwota();
    void wklejanieJakPisanie_data();
    void wklejanieJakPisanie();

    void obszaryZaprojektowanychPol();
    void trafienia_data();
    void trafienia();
    void obszaryPodazajaZaPolami();
};

// A paste into the amount field keeps what typing the same characters would keep.
void TestKwoty::wklejanieJakPisanie_data() {
    QTest::addColumn<QString>("stary");
    QTest::addColumn<QString>("nowy");
    QTest::addColumn<QString>("wynik");
    QTest::addColumn<int>("kursor");
    QTest::newRow("czternascie cyfr") << ""
                                      << "12345678901234"
                                      << "123456789" << 9;
    QTest::newRow("litery") << "1"
                            << "1a2-b3 "
                            << "123" << 3;
    QTest::newRow("w srodku") << "12"
                              << "1x,5y2"
                              << "1,52" << 3;
    QTest::newRow("w miejsce dlugiej") << "123456789,01"
                                       << "5"
                                       << "5" << 1;
    QTest::newRow("do dlugiej") << "123456789,01"
                                << "123456789,0155"
                                << "123456789,01" << 12;
    QTest::newRow("usuwanie") << "1234"
                              << "124"
                              << "124" << 2;
}

void TestKwoty::wklejanieJakPisanie() {
    QFETCH(QString, stary);
    QFETCH(QString, nowy);
    QFETCH(QString, wynik);
    QFETCH(int, kursor);
    int k = -1;
    QCOMPARE(WstawienieDoKwoty(stary, nowy, k), wynik);
    QCOMPARE(k, kursor);
}

void TestKwoty::formatowanie_data() {
    QTest::addColumn<QString>("tekst");
    QTest::addColumn<QString>("wynik");
    QTest::newRow("pusty") << ""
                           << "0,00";
    QTest::newRow("0") << "0"
                       << "0,00";
    QTest::newRow("5") << "5"
                       << "0,05";
    QTest::newRow("50") << "50"
                        << "0,50";
    QTest::newRow("100") << "100"
                         << "1,00";
    QTest::newRow("1250") << "1250"
                          << "12,50";
    QTest::newRow("bez separatora tysiecy") << "123456789012"
                                            << "1234567890,12";
    QTest::newRow("ujemna") << "-5"
                            << "-0,05";
    QTest::newRow("ujemna duza") << "-1250"
                                 << "-12,50";
}

void TestKwoty::formatowanie() {
    QFETCH(QString, tekst);
    QFETCH(QString, wynik);
    QCOMPARE(FormatujKwote(tekst), wynik);
}

void TestKwoty::normalizacja_data() {
    QTest::addColumn<QString>("tekst");
    QTest::addColumn<bool>("poprawna");
    QTest::addColumn<QString>("wynik");
    QTest::newRow("calkowita") << "12" << true << "12,00";
    QTest::newRow("jedno miejsce") << "12.5" << true << "12,50";
    QTest::newRow("dwa miejsca") << "12.55" << true << "12,55";
    QTest::newRow("przecinek") << "12,5" << true << "12,50";
    QTest::newRow("bez calosci") << ".5" << true << ",50";
    QTest::newRow("pusty") << "" << true << ",00";
    QTest::newRow("dziewiec cyfr") << "123456789" << true << "123456789,00";
    QTest::newRow("dziewiec znakow") << "1234567.8" << true << "1234567,80";
    QTest::newRow("za dlugi jak pusty") << "123456789,00" << true << ",00";
    QTest::newRow("za dlugi i bledny") << "abcdefghij" << true << ",00";
    QTest::newRow("kropka na koncu") << "12." << false << "";
    QTest::newRow("trzy miejsca") << "1.234" << false << "";
    QTest::newRow("dwa separatory") << "1.2.3" << false << "";
    QTest::newRow("dwa przecinki") << ",," << false << "";
    QTest::newRow("sam separator") << "." << false << "";
    QTest::newRow("separator na poczatku") << ".55" << true << ",55";
    QTest::newRow("litera") << "1a" << false << "";
    QTest::newRow("minus") << "-5" << false << "";
    QTest::newRow("spacja") << "1 5" << false << "";
    QTest::newRow("wykrzykniki") << "!!!" << false << "";
    QTest::newRow("cyfra arabska") << QString::fromUtf8("\u0661") << false << "";
}

void TestKwoty::normalizacja() {
    QFETCH(QString, tekst);
    QFETCH(bool, poprawna);
    QFETCH(QString, wynik);
    QCOMPARE(NormalizujKwote(tekst), poprawna);
    if (poprawna)
        QCOMPARE(tekst, wynik);
}

void TestKwoty::odczytKwoty_data() {
    QTest::addColumn<QString>("tekst");
    QTest::addColumn<Kwota>("setne");
    QTest::newRow("0,53") << "0,53" << Kwota(53);
    QTest::newRow("12,5") << "12,5" << Kwota(1250);
    QTest::newRow("1,239 bez zaokraglenia") << "1,239" << Kwota(123);
    QTest::newRow("1,999") << "1,999" << Kwota(199);
    QTest::newRow("calkowita") << "12" << Kwota(1200);
    QTest::newRow("zero") << "0" << Kwota(0);
    QTest::newRow("pusta calosc") << ",00" << Kwota(0);
    QTest::newRow("przecinek na koncu") << "12," << Kwota(1200);
    QTest::newRow("dwanascie znakow") << "123456789,01" << Kwota(12345678901);
    QTest::newRow("najwieksza") << "92233720368547758,07" << Kwota(INT64_MAX);
    QTest::newRow("przepelnienie") << "92233720368547758,08" << Kwota();
    QTest::newRow("przepelnienie calosci") << "99999999999999999999" << Kwota();
    QTest::newRow("kropka") << "12.5" << Kwota();
    QTest::newRow("pusty") << "" << Kwota();
    QTest::newRow("sam przecinek") << "," << Kwota();
    QTest::newRow("wykrzykniki") << "!!!" << Kwota();
    QTest::newRow("dwa przecinki") << "1,2,3" << Kwota();
    QTest::newRow("minus") << "-5" << Kwota();
    QTest::newRow("plus") << "+5" << Kwota();
    QTest::newRow("wykladnik") << "1E5" << Kwota();
    QTest::newRow("spacje") << " 5" << Kwota();
}

void TestKwoty::odczytKwoty() {
    QFETCH(QString, tekst);
    QFETCH(Kwota, setne);
    QCOMPARE(KwotaWSetnych(tekst), setne);
}

void TestKwoty::czescCalkowita_data() {
    QTest::addColumn<QString>("tekst");
    QTest::addColumn<Kwota>("wynik");
    QTest::newRow("15") << "15" << Kwota(15);
    QTest::newRow("15,99 obciete") << "15,99" << Kwota(15);
    QTest::newRow("0,5") << "0,5" << Kwota(0);
    QTest::newRow("150,00") << "150,00" << Kwota(150);
    QTest::newRow("duza") << "9223372036854775807" << Kwota(INT64_MAX);
    QTest::newRow("przepelnienie") << "9223372036854775808" << Kwota();
    QTest::newRow("kropka") << "15.5" << Kwota();
    QTest::newRow("wykrzykniki") << "!!!" << Kwota();
}

void TestKwoty::czescCalkowita() {
    QFETCH(QString, tekst);
    QFETCH(Kwota, wynik);
    QCOMPARE(CzescCalkowita(tekst), wynik);
}

// Whatever the field holds after leaving it is either "!!!" or a text the confirm can read.
void TestKwoty::normalizacjaDajeTekstCzytelnyJakoKwota() {
    const QString znaki = QStringLiteral("0123456789.,x");
    int sprawdzone = 0;
    // Every text of up to four characters over the alphabet above.
    for (int dlugosc = 0; dlugosc <= 4; ++dlugosc) {
        int liczba = 1;
        for (int i = 0; i < dlugosc; ++i)
            liczba *= int(znaki.size());
        for (int n = 0; n < liczba; ++n) {
            QString t;
            for (int i = 0, r = n; i < dlugosc; ++i, r /= int(znaki.size()))
                t += znaki[r % znaki.size()];
            QString wynik = t;
            if (!NormalizujKwote(wynik))
                continue;
            ++sprawdzone;
            QVERIFY2(KwotaWSetnych(wynik).has_value(), qPrintable(t + " -> " + wynik));
            QCOMPARE(wynik.count(QLatin1Char(',')), 1);
            QCOMPARE(wynik.size() - wynik.indexOf(QLatin1Char(',')), 3);
        }
    }
    QVERIFY(sprawdzone > 1000);
}

namespace {
// The label edits at their designed places.
const std::array<PolozeniePola, 9> kPola = {{{12, 12, 46, 16},
                                             {84, 12, 46, 16},
                                             {153, 12, 49, 16},
                                             {223, 12, 48, 16},
                                             {295, 12, 50, 16},
                                             {84, 95, 46, 16},
                                             {153, 95, 46, 16},
                                             {225, 95, 48, 16},
                                             {295, 95, 46, 16}}};
} // namespace

void TestKwoty::obszaryZaprojektowanychPol() {
    const ObszarKlawisza oczekiwane[9] = {
        {12, 12, 58, 44},    {84, 12, 130, 44},   {153, 12, 202, 44},
        {223, 12, 271, 44},  {295, 12, 345, 44},  {84, 79, 130, 127},
        {153, 79, 199, 127}, {225, 79, 273, 127}, {295, 79, 341, 127}};
    for (int k = 0; k < 9; ++k)
        QCOMPARE(obszarKlawisza(k, kPola[k]), oczekiwane[k]);
}

void TestKwoty::trafienia_data() {
    QTest::addColumn<int>("warstwa");
    QTest::addColumn<QPoint>("punkt");
    QTest::addColumn<int>("klawisz"); // -1: none
    for (int w = 0; w < 4; ++w) {
        const QByteArray n = QByteArray::number(w);
        QTest::newRow("lewy gorny rog 0 w" + n) << w << QPoint(12, 12) << 0;
        QTest::newRow("prawy dolny rog 0 w" + n) << w << QPoint(58, 44) << 0;
        QTest::newRow("obok 0 w" + n) << w << QPoint(59, 20) << -1;
        QTest::newRow("pod 0 w" + n) << w << QPoint(30, 45) << -1;
        QTest::newRow("nad 0 w" + n) << w << QPoint(30, 11) << -1;
        QTest::newRow("druga linia 4 w" + n) << w << QPoint(345, 40) << 4;
        QTest::newRow("tlo w" + n) << w << QPoint(200, 300) << -1;
        QTest::newRow("poza obrazem w" + n) << w << QPoint(-5, -5) << -1;
    }
    QTest::newRow("G") << 1 << QPoint(100, 80) << 5;
    QTest::newRow(")") << 2 << QPoint(100, 80) << 5;
    QTest::newRow("bezposrednio 5") << 3 << QPoint(100, 80) << -1;
    QTest::newRow("obie Alt 5") << 0 << QPoint(100, 80) << -1;
    QTest::newRow("nad 5") << 1 << QPoint(100, 78) << -1;
    QTest::newRow("gorna krawedz 5") << 1 << QPoint(100, 79) << 5;
    QTest::newRow("dolna krawedz 8") << 2 << QPoint(341, 127) << 8;
    QTest::newRow("za 8") << 2 << QPoint(342, 127) << -1;
    QTest::newRow("pod 6") << 1 << QPoint(160, 128) << -1;
    QTest::newRow("7") << 1 << QPoint(225, 100) << 7;
}

void TestKwoty::trafienia() {
    QFETCH(int, warstwa);
    QFETCH(QPoint, punkt);
    QFETCH(int, klawisz);
    const auto k = trafionyKlawisz(warstwa, kPola, punkt.x(), punkt.y());
    QCOMPARE(k.value_or(-1), klawisz);
}

// The areas come from where the edits are, not from the designed numbers; where two areas
// overlap, the lower key number wins.
void TestKwoty::obszaryPodazajaZaPolami() {
    auto pola = kPola;
    pola[0] = {100, 200, 20, 10};
    QVERIFY(!trafionyKlawisz(3, pola, 12, 12));
    QCOMPARE(trafionyKlawisz(3, pola, 120, 220).value_or(-1), 0);
    QVERIFY(!trafionyKlawisz(3, pola, 120, 221));
    pola[5] = pola[1]; // key 5 lying on key 1: key 1 is found first
    QCOMPARE(trafionyKlawisz(1, pola, 100, 20).value_or(-1), 1);
    QCOMPARE(trafionyKlawisz(1, pola, 100, 0).value_or(-1), 5); // one line above key 1
}

QTEST_APPLESS_MAIN(TestKwoty)
#include "test_kwoty.moc"
