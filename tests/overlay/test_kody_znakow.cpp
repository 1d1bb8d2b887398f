// Code page conversions: the 852 -> 1250 letter table that goods names go through, and the
// code page 1250 text of label files.

#include <QtTest>

#include "core/KodyZnakow.h"

class TestKodyZnakow : public QObject {
    Q_OBJECT
private slots:
    void polskieLiteryZgodneZeStronamiKodowymi();
    void pozostaleBajtyBezZmian();
    void tekst852();
    void strona1250TamIZPowrotem();
    void bajtyNiezdefiniowaneW1250();
    void znakiSpozaStrony1250();
};

namespace {
const unsigned char kLitery852[18] = {0x86, 0x88, 0x8D, 0x8F, 0x97, 0x98, 0x9D, 0xA2, 0xA4,
                                      0xA5, 0xA8, 0xA9, 0xAB, 0xBD, 0xBE, 0xE0, 0xE3, 0xE4};
const unsigned char kLitery1250[18] = {0xE6, 0xB3, 0x8F, 0xC6, 0x8C, 0x9C, 0xA3, 0xF3, 0xA5,
                                       0xB9, 0xCA, 0xEA, 0x9F, 0xAF, 0xBF, 0xD3, 0xD1, 0xF1};
const char* const kLitery = "ćłŹĆŚśŁóĄąĘęźŻżÓŃń";
} // namespace

void TestKodyZnakow::polskieLiteryZgodneZeStronamiKodowymi() {
    const QString litery = QString::fromUtf8(kLitery);
    for (int i = 0; i < 18; ++i) {
        const unsigned char wyjscie = Znak852Na1250(kLitery852[i]);
        QCOMPARE(wyjscie, kLitery1250[i]);
        // The same letter in both code pages, as the system's own code page tables read them.
        const QByteArray w852(1, static_cast<char>(kLitery852[i]));
        const QByteArray w1250(1, static_cast<char>(wyjscie));
        QCOMPARE(tekstZ852(w852), QString(litery[i]));
        QCOMPARE(tekstZ1250(w1250), QString(litery[i]));
    }
}

void TestKodyZnakow::pozostaleBajtyBezZmian() {
    int zmienione = 0;
    for (int b = 0; b < 256; ++b) {
        const unsigned char c = static_cast<unsigned char>(b);
        if (Znak852Na1250(c) != c)
            ++zmienione;
        else
            QVERIFY2(std::find(std::begin(kLitery852), std::end(kLitery852), c) ==
                         std::end(kLitery852),
                     qPrintable(QString::number(b)));
    }
    // Only the eighteen letters change; e.g. the 852 box-drawing and other letters do not.
    QCOMPARE(zmienione, 18);
    QCOMPARE(Znak852Na1250(0x81), 0x81); // ü in 852 stays as it is
    QCOMPARE(Znak852Na1250('A'), 'A');
}

void TestKodyZnakow::tekst852() {
    QCOMPARE(Tekst852Na1250(QByteArray()), QByteArray());
    const QByteArray ascii("MENU 12,50 abc");
    QCOMPARE(Tekst852Na1250(ascii), ascii);
    // "Żółć" in 852 -> the same word in 1250, same length.
    const QByteArray zolc852("\xBD\xA2\x88\x86", 4);
    const QByteArray zolc1250 = Tekst852Na1250(zolc852);
    QCOMPARE(zolc1250.size(), 4);
    QCOMPARE(tekstZ1250(zolc1250), QStringLiteral("Żółć"));
    QCOMPARE(tekstZ852(zolc852), QStringLiteral("Żółć"));
    // Embedded NUL bytes and a full 255-byte name keep their length.
    QByteArray dlugi(255, '\xA5');
    dlugi[10] = '\0';
    const QByteArray wynik = Tekst852Na1250(dlugi);
    QCOMPARE(wynik.size(), 255);
    QCOMPARE(wynik[0], '\xB9');
    QCOMPARE(wynik[10], '\0');
}

void TestKodyZnakow::strona1250TamIZPowrotem() {
    const QString polskie = QStringLiteral("ąćęłńóśźż ĄĆĘŁŃÓŚŹŻ");
    const QByteArray bajty = tekstNa1250(polskie);
    QCOMPARE(
        bajty,
        QByteArray("\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF \xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF"));
    QCOMPARE(tekstZ1250(bajty), polskie);
    QVERIFY(daSieZapisacW1250(polskie));
    // Every byte value survives a round trip.
    QByteArray wszystkie;
    for (int b = 0; b < 256; ++b)
        wszystkie.append(static_cast<char>(b));
    QCOMPARE(tekstZ1250(wszystkie).size(), 256);
    QCOMPARE(tekstNa1250(tekstZ1250(wszystkie)), wszystkie);
    QCOMPARE(tekstNa852(tekstZ852(wszystkie)), wszystkie);
    QCOMPARE(tekstZ1250("\x80"), QString(QChar(0x20AC))); // the euro sign
}

void TestKodyZnakow::bajtyNiezdefiniowaneW1250() {
    for (unsigned char b : {0x81, 0x83, 0x88, 0x90, 0x98}) {
        const QString z = tekstZ1250(QByteArray(1, static_cast<char>(b)));
        QCOMPARE(z.size(), 1);
        QCOMPARE(z[0].unicode(), static_cast<char16_t>(b));
    }
}

void TestKodyZnakow::znakiSpozaStrony1250() {
    QCOMPARE(tekstNa1250(QStringLiteral("a€b漢ü")), QByteArray("a\x80"
                                                               "b?\xFC"));
    QVERIFY(!daSieZapisacW1250(QStringLiteral("漢")));
    // A character outside the basic plane counts as one character.
    QCOMPARE(tekstNa1250(QString::fromUcs4(U"x\U0001F600y")), QByteArray("x?y"));
}

QTEST_APPLESS_MAIN(TestKodyZnakow)
#include "test_kody_znakow.moc"
