// The error box that shows the current result code: its icon, button, caption and the code's
// exact text, and an empty box for a code without text.
#include <QApplication>
#include <QTest>

#include "core/okno/SkryptDialogi.h"
#include "keys/StanProgramu.h"
#include "transfer/okno/PokazBlad.h"

class TestPokazBlad : public QObject {
    Q_OBJECT
private slots:
    void pokazBladTimeoutNadawania();
    void pokazBladPustyDlaKoduBezTekstu_data();
    void pokazBladPustyDlaKoduBezTekstu();
};

void TestPokazBlad::pokazBladTimeoutNadawania() {
    StanProgramu stan;
    stan.NrBledu = 20;
    SkryptDialogi dialogi;
    PokazBlad(stan, dialogi, nullptr);
    QCOMPARE(dialogi.pokazane.size(), size_t(1));
    const auto k = dialogi.ostatni();
    QCOMPARE(k.ikona, Dialogi::Ikona::Blad);
    QCOMPARE(k.przyciski, int(Dialogi::Ok));
    QCOMPARE(k.tytul, kTytulBledu);
    const QStringList linie = k.tekst.split(QLatin1Char('\r'));
    QCOMPARE(linie.size(), 6);
    QCOMPARE(linie[0], QStringLiteral("Wystąpił timeout nadawania."));
    QCOMPARE(linie[1], QStringLiteral("Możliwe przyczyny błędu: "));
    QCOMPARE(linie[5], QStringLiteral("  niż wybrany w programie tastrum."));
    QCOMPARE(stan.NrBledu, std::uint8_t(20));
}

void TestPokazBlad::pokazBladPustyDlaKoduBezTekstu_data() {
    QTest::addColumn<int>("kod");
    QTest::newRow("106") << 106;
    QTest::newRow("255") << 255;
    QTest::newRow("26") << 26;
}

void TestPokazBlad::pokazBladPustyDlaKoduBezTekstu() {
    QFETCH(int, kod);
    StanProgramu stan;
    stan.NrBledu = static_cast<std::uint8_t>(kod);
    SkryptDialogi dialogi;
    PokazBlad(stan, dialogi, nullptr);
    QCOMPARE(dialogi.pokazane.size(), size_t(1));
    QCOMPARE(dialogi.ostatni().tekst, QString());
    QCOMPARE(dialogi.ostatni().ikona, Dialogi::Ikona::Blad);
    QCOMPARE(dialogi.ostatni().przyciski, int(Dialogi::Ok));
    QVERIFY(dialogi.nieoczekiwane.isEmpty());
}

QTEST_MAIN(TestPokazBlad)
#include "test_pokaz_blad.moc"
