// The buffers handed to the register libraries: 255 bytes of text at most and a zero byte;
// anything longer is refused instead of being cut short.
#include <QTest>

#include "core/BladProgramu.h"
#include "transfer/LaczeKasy.h"

class TestLaczeKasy : public QObject {
    Q_OBJECT
private slots:
    void nazwaMiesciSieZZerem();
    void nazwaZaDluga();
    void nazwaPolskaLiczonaWBajtach();
    void liniaZZeremWSrodku();
};

void TestLaczeKasy::nazwaMiesciSieZZerem() {
    const QString nazwa(255, QLatin1Char('a'));
    const LaczeKasy::Bufor b = BuforNazwy(nazwa);
    QCOMPARE(QByteArray(b.data(), 255), nazwa.toLatin1());
    QCOMPARE(b[255], '\0');

    const LaczeKasy::Bufor k = BuforNazwy(QStringLiteral("KONFIG.TXT"));
    QCOMPARE(QByteArray(k.data()), QByteArray("KONFIG.TXT"));
    for (int i = 10; i < LaczeKasy::kRozmiarBufora; ++i)
        QCOMPARE(k[i], '\0');
}

void TestLaczeKasy::nazwaZaDluga() {
    QVERIFY_THROWS_EXCEPTION(BladProgramu, BuforNazwy(QString(256, QLatin1Char('a'))));
    QVERIFY_THROWS_EXCEPTION(BladProgramu, BuforLinii(QByteArray(256, 'x')));
}

// A file name goes to the library in the file system's encoding: two bytes per Polish letter.
void TestLaczeKasy::nazwaPolskaLiczonaWBajtach() {
    const QString nazwa = QString(127, QChar(u'ł')); // 254 bytes
    const LaczeKasy::Bufor b = BuforNazwy(nazwa);
    QCOMPARE(QByteArray(b.data()), nazwa.toUtf8());
    QVERIFY_THROWS_EXCEPTION(BladProgramu, BuforNazwy(nazwa + QStringLiteral("ab")));
}

void TestLaczeKasy::liniaZZeremWSrodku() {
    QVERIFY_THROWS_EXCEPTION(BladProgramu, BuforLinii(QByteArray("#0\0"
                                                                 "1",
                                                                 4)));
    QCOMPARE(QByteArray(BuforLinii(QByteArray("#")).data()), QByteArray("#"));
}

QTEST_GUILESS_MAIN(TestLaczeKasy)
#include "test_lacze_kasy.moc"
