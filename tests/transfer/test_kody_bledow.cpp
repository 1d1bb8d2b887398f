// Result codes: which codes have a message, the exact texts the user reads, the translation
// of the register's status byte (the error box that shows a code: test_pokaz_blad.cpp).
#include <QTest>
#include <set>

#include "transfer/KodyBledow.h"

class TestKodyBledow : public QObject {
    Q_OBJECT
private slots:
    void kodyZTekstem();
    void tekstyDokladne();
    void odsylaczeDoPolaczenia();
    void kodZeStatusuGranice_data();
    void kodZeStatusuGranice();
    void kodZeStatusuCalyZakres();
};

void TestKodyBledow::kodyZTekstem() {
    std::set<int> zTekstem;
    for (int k = 1; k <= 25; ++k)
        zTekstem.insert(k);
    zTekstem.insert(62);
    for (int k = 101; k <= 115; ++k)
        if (k != 106)
            zTekstem.insert(k);
    for (int k = 200; k <= 211; ++k)
        zTekstem.insert(k);
    zTekstem.insert(228);
    zTekstem.insert(229);
    // The way to the maker's DLLs through Wine.
    for (int k = 240; k <= 244; ++k)
        zTekstem.insert(k);

    for (int k = 0; k <= 255; ++k) {
        const QString t = TekstBledu(static_cast<std::uint8_t>(k));
        QVERIFY2(t.isEmpty() != (zTekstem.count(k) == 1), qPrintable(QString::number(k)));
    }
    QCOMPARE(TekstBledu(1), TekstBledu(2));
    // No two other codes share a text.
    std::set<QString> teksty;
    for (int k : zTekstem)
        if (k != 2)
            QVERIFY2(teksty.insert(TekstBledu(static_cast<std::uint8_t>(k))).second,
                     qPrintable(QString::number(k)));
}

// Texts whose blanks, spelling or punctuation are easy to get wrong.
void TestKodyBledow::tekstyDokladne() {
    QCOMPARE(TekstBledu(1), QStringLiteral("Zastrzeżona nazwa pliku wejściowego."));
    QCOMPARE(TekstBledu(24), QStringLiteral("Odpowiedź z kasy : NAK."));
    QCOMPARE(TekstBledu(25), QStringLiteral("Rozkaz niedostepny w tej wersji programu kasy."));
    QCOMPARE(TekstBledu(62), QStringLiteral("Nie można otworzyć portu szeregowego"));
    QCOMPARE(TekstBledu(101), QStringLiteral("Pamięć została skasowana. Ustaw zegar programem "
                                             "serwisowym Nadzor.exe"));
    QCOMPARE(TekstBledu(103), QStringLiteral("Błąd w stawce podatkowej towaru"));
    QCOMPARE(TekstBledu(211), QStringLiteral("Należy ustawić opcję PROGRAM SERWISU Z PC."));
    QCOMPARE(TekstBledu(228), QStringLiteral("Klawisz nie może być definiowany i odczytywany"));
    QCOMPARE(TekstBledu(229), QStringLiteral("Brak miejsca na kwoty dla płatnosci z klawisza"));
    QCOMPARE(TekstBledu(21),
             QStringLiteral("Wystąpił timeout odbierania. \rMożliwe przyczyny błędu: \r- kasa "
                            "nie jest podłączona do komputera,\r- kasa nie jest włączona,\r- "
                            "kasa jest podłączona do innego portu szeregowego\r  niż wybrany w "
                            "programie tastrum,\r- w kasie jest wybrana inna szybkość "
                            "transmisji\r  niż w programie tastrum."));
    // Lines break with a bare carriage return, never a line feed.
    for (int k = 0; k <= 255; ++k)
        QVERIFY(!TekstBledu(static_cast<std::uint8_t>(k)).contains(QLatin1Char('\n')));
}

// The configuration errors send the user to the "Połączenie" button on a second line.
void TestKodyBledow::odsylaczeDoPolaczenia() {
    const QString odsylacz =
        QStringLiteral("\rNaciśnij przycisk \"POŁĄCZENIE\" i ustaw ponownie parametry komunikacji");
    for (int k = 0; k <= 255; ++k) {
        const bool ma = TekstBledu(static_cast<std::uint8_t>(k)).endsWith(odsylacz);
        QCOMPARE(ma, k == 7 || (k >= 13 && k <= 16) || k == 22);
    }
    QCOMPARE(TekstBledu(7), QStringLiteral("Nie można otworzyć pliku konfiguracji.") + odsylacz);
    QCOMPARE(TekstBledu(22),
             QStringLiteral("Pod podanym skojarzeniem kasa o innym numerze.") + odsylacz);
}

void TestKodyBledow::kodZeStatusuGranice_data() {
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("kod");
    const std::pair<int, int> pary[] = {{0, 0},     {25, 25},   {26, 101},  {30, 105}, {31, 107},
                                        {39, 115},  {40, 200},  {50, 210},  {51, 255}, {62, 255},
                                        {63, 211},  {64, 255},  {127, 255}, {128, 0},  {133, 5},
                                        {154, 101}, {191, 211}, {192, 255}, {255, 255}};
    for (const auto& [s, k] : pary)
        QTest::addRow("%d", s) << s << k;
}

void TestKodyBledow::kodZeStatusuGranice() {
    QFETCH(int, status);
    QFETCH(int, kod);
    QCOMPARE(int(KodZeStatusu(static_cast<std::uint8_t>(status))), kod);
}

// Over every byte: bit 7 never matters, 106 never appears, and whatever comes out is either
// a code with a message or 0 or 255.
void TestKodyBledow::kodZeStatusuCalyZakres() {
    for (int s = 0; s < 128; ++s) {
        const std::uint8_t k = KodZeStatusu(static_cast<std::uint8_t>(s));
        QCOMPARE(KodZeStatusu(static_cast<std::uint8_t>(s | 0x80)), k);
        QVERIFY(k != 106);
        QVERIFY2(k == 0 || k == 255 || !TekstBledu(k).isEmpty(), qPrintable(QString::number(s)));
    }
}

QTEST_MAIN(TestKodyBledow)
#include "test_kody_bledow.moc"
