// Label files: fourteen CR LF lines in code page 1250, read back exactly, and whatever else a
// file holds read without harm.

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

#include "PomocPlikow.h"
#include "core/BladProgramu.h"
#include "overlay/PlikNapisow.h"

namespace {

QByteArray czytaj(const QString& sciezka) {
    QFile f(sciezka);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void zapisz(const QString& sciezka, const QByteArray& dane) {
    QFile f(sciezka);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(dane);
}

LinieNapisow przykladowe() {
    return {QStringLiteral("ZESTAW  "),
            QStringLiteral("MENU    "),
            QStringLiteral("PŁATNO  "),
            QStringLiteral("GOTÓWK  "),
            QStringLiteral("ąęćźżńół"),
            QString(),
            QStringLiteral("ŚĆŹŻŁĄĘÓ"),
            QString(),
            QStringLiteral("x"),
            QString(),
            QStringLiteral("12 ZNAKÓW ++"),
            QString(),
            QString(),
            QStringLiteral("koniec  ")};
}

} // namespace

class TestPlikNapisow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void formatPliku();
    void zapisIOdczytBajtPoBajcie();
    void pustePlikiIPusteLinie();
    void mniejIWiecejLinii();
    void konceLinii_data();
    void konceLinii();
    void bajtySpozaStrony();
    void bajtZerowyKonczyTekst();
    void dlugieLinie();
    void zawartoscBinarna();
    void bledyPlikow();
    void uprawnieniaIDowiazania();

private:
    std::unique_ptr<QTemporaryDir> m_katalog;
};

void TestPlikNapisow::init() {
    m_katalog = std::make_unique<QTemporaryDir>();
    QVERIFY(m_katalog->isValid());
}

void TestPlikNapisow::formatPliku() {
    LinieNapisow puste;
    QCOMPARE(zakodujPlikNapisow(puste), QByteArray("\r\n").repeated(14));
    LinieNapisow l;
    l[0] = QStringLiteral("Żółć");
    l[13] = QStringLiteral("ą");
    QCOMPARE(zakodujPlikNapisow(l),
             QByteArray("\xAF\xF3\xB3\xE6\r\n") + QByteArray("\r\n").repeated(12) + "\xB9\r\n");
}

void TestPlikNapisow::zapisIOdczytBajtPoBajcie() {
    const QString sciezka = m_katalog->filePath(QStringLiteral("etykiety.bm0"));
    zapiszPlikNapisow(sciezka, przykladowe());
    const QByteArray dane = czytaj(sciezka);
    QCOMPARE(dane.count("\r\n"), 14);
    QVERIFY(dane.endsWith("koniec  \r\n"));
    QVERIFY(dane.contains("P\xA3"
                          "ATNO  \r\n"));
    QCOMPARE(wczytajPlikNapisow(sciezka), przykladowe());
    // Read and written again, the file is the same to the byte.
    const QString kopia = m_katalog->filePath(QStringLiteral("kopia.bm0"));
    zapiszPlikNapisow(kopia, wczytajPlikNapisow(sciezka));
    QCOMPARE(czytaj(kopia), dane);
    // Overwriting replaces the whole file; no temporary stays beside it.
    zapiszPlikNapisow(sciezka, LinieNapisow{});
    QCOMPARE(czytaj(sciezka), QByteArray("\r\n").repeated(14));
    QCOMPARE(QDir(m_katalog->path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

void TestPlikNapisow::pustePlikiIPusteLinie() {
    QCOMPARE(czytajPlikNapisow(QByteArray()), LinieNapisow{});
    LinieNapisow oczekiwane;
    oczekiwane[2] = QStringLiteral("C");
    QCOMPARE(czytajPlikNapisow(QByteArray("\r\n\r\nC\r\n\r\n")), oczekiwane);
}

void TestPlikNapisow::mniejIWiecejLinii() {
    // Fewer lines: the missing ones are empty; the last line needs no line end.
    LinieNapisow trzy;
    trzy[0] = QStringLiteral("A");
    trzy[1] = QStringLiteral("B");
    trzy[2] = QStringLiteral("C");
    QCOMPARE(czytajPlikNapisow(QByteArray("A\r\nB\r\nC")), trzy);
    QCOMPARE(czytajPlikNapisow(QByteArray("A\r\nB\r\nC\r\n")), trzy);
    // More lines: those after the fourteenth are ignored.
    QByteArray dluzszy;
    LinieNapisow czternascie;
    for (int i = 0; i < 20; ++i) {
        dluzszy += QByteArray::number(i) + "\r\n";
        if (i < 14)
            czternascie[i] = QString::number(i);
    }
    QCOMPARE(czytajPlikNapisow(dluzszy), czternascie);
}

void TestPlikNapisow::konceLinii_data() {
    QTest::addColumn<QByteArray>("dane");
    QTest::newRow("CR LF") << QByteArray("A\r\nB\r\n\r\nD");
    QTest::newRow("LF") << QByteArray("A\nB\n\nD\n");
    QTest::newRow("CR") << QByteArray("A\rB\r\rD\r");
    QTest::newRow("mieszane") << QByteArray("A\nB\r\rD\r\n");
}

void TestPlikNapisow::konceLinii() {
    QFETCH(QByteArray, dane);
    LinieNapisow oczekiwane;
    oczekiwane[0] = QStringLiteral("A");
    oczekiwane[1] = QStringLiteral("B");
    oczekiwane[3] = QStringLiteral("D");
    QCOMPARE(czytajPlikNapisow(dane), oczekiwane);
}

void TestPlikNapisow::bajtySpozaStrony() {
    // Bytes code page 1250 leaves undefined are kept and written back as they were.
    const QByteArray dane = QByteArray("\x81\x83\x88\x90\x98 \xB9\r\n").repeated(14);
    const QString sciezka = m_katalog->filePath(QStringLiteral("dziwne.bm0"));
    zapisz(sciezka, dane);
    const LinieNapisow l = wczytajPlikNapisow(sciezka);
    QCOMPARE(l[0].size(), 7);
    QCOMPARE(l[0].right(2), QStringLiteral(" ą"));
    QCOMPARE(zakodujPlikNapisow(l), dane);
}

void TestPlikNapisow::bajtZerowyKonczyTekst() {
    LinieNapisow oczekiwane;
    oczekiwane[0] = QStringLiteral("AB");
    oczekiwane[1] = QStringLiteral("C");
    QCOMPARE(czytajPlikNapisow(QByteArray("AB\0XY\r\nC", 8)), oczekiwane);
}

void TestPlikNapisow::dlugieLinie() {
    LinieNapisow l = czytajPlikNapisow(QByteArray("123456789012\r\nX"));
    QCOMPARE(l[0], QStringLiteral("123456789012"));
    QCOMPARE(l[1], QStringLiteral("X"));
    // A line beyond what an edit holds is cut there; the next line is still the next label.
    // The line is long enough to cross the reader's internal buffer several times.
    const QByteArray bardzoDluga(200000, 'W');
    l = czytajPlikNapisow(bardzoDluga + "\r\nY\r\n");
    QCOMPARE(l[0].size(), kNajdluzszaLinia);
    QCOMPARE(l[1], QStringLiteral("Y"));
    // A CR LF split across the buffer boundary is still one line end.
    QByteArray naGranicy(65535, 'a');
    naGranicy += "\r\nB";
    l = czytajPlikNapisow(naGranicy);
    QCOMPARE(l[0].size(), 32767);
    QCOMPARE(l[1], QStringLiteral("B"));
    QCOMPARE(l[2], QString());
}

void TestPlikNapisow::zawartoscBinarna() {
    QRandomGenerator los(20240601);
    for (int proba = 0; proba < 200; ++proba) {
        QByteArray dane(static_cast<int>(los.bounded(1, 5000)), '\0');
        for (char& c : dane)
            c = static_cast<char>(los.bounded(256));
        const LinieNapisow l = czytajPlikNapisow(dane);
        for (const QString& linia : l) {
            QVERIFY(linia.size() <= kNajdluzszaLinia);
            QVERIFY(!linia.contains(QLatin1Char('\r')) && !linia.contains(QLatin1Char('\n')));
            QVERIFY(!linia.contains(QChar(0)));
        }
    }
}

void TestPlikNapisow::bledyPlikow() {
    // A file that does not exist; a FIFO (which would block the reader for good) and a link
    // to /dev/zero (which would never end) are refused without waiting.
    QVERIFY_THROWS_EXCEPTION(BladProgramu,
                             wczytajPlikNapisow(m_katalog->filePath(QStringLiteral("brak.bm0"))));
    const QString fifo = m_katalog->filePath(QStringLiteral("fifo.bm0"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QVERIFY_THROWS_EXCEPTION(BladProgramu, wczytajPlikNapisow(fifo));
    QVERIFY(QFile::remove(fifo));
    const QString zero = m_katalog->filePath(QStringLiteral("zero.bm0"));
    QVERIFY(QFile::link(QStringLiteral("/dev/zero"), zero));
    QVERIFY_THROWS_EXCEPTION(BladProgramu, wczytajPlikNapisow(zero));
    QVERIFY(QFile::remove(zero));
    // A folder nobody may write to, and a folder that does not exist.
    QVERIFY_THROWS_EXCEPTION(
        BladProgramu, zapiszPlikNapisow(QStringLiteral("/proc/etykiety.bm0"), przykladowe()));
    QVERIFY_THROWS_EXCEPTION(
        BladProgramu,
        zapiszPlikNapisow(m_katalog->filePath(QStringLiteral("nie/ma/x.bm0")), przykladowe()));
    // A full disk: the old file survives whole and no temporary is left.
    const QString sciezka = m_katalog->filePath(QStringLiteral("stary.bm0"));
    zapisz(sciezka, "stary\r\n");
    try {
        LimitRozmiaruPliku limit(20);
        zapiszPlikNapisow(sciezka, przykladowe());
        QFAIL("the write did not fail");
    } catch (const BladProgramu& b) {
        QVERIFY(b.komunikat().contains(sciezka));
    }
    QCOMPARE(czytaj(sciezka), QByteArray("stary\r\n"));
    QCOMPARE(QDir(m_katalog->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("stary.bm0")});
}

void TestPlikNapisow::uprawnieniaIDowiazania() {
    // A replaced file keeps its permissions; a link keeps pointing at the replaced file.
    const QString sciezka = m_katalog->filePath(QStringLiteral("prawa.bm0"));
    zapisz(sciezka, "x");
    QVERIFY(
        QFile::setPermissions(sciezka, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    zapiszPlikNapisow(sciezka, przykladowe());
    QCOMPARE(QFile::permissions(sciezka) & 0x0FFF,
             QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup);
    const QString lacze = m_katalog->filePath(QStringLiteral("lacze.bm0"));
    QVERIFY(QFile::link(sciezka, lacze));
    zapiszPlikNapisow(lacze, LinieNapisow{});
    QVERIFY(QFileInfo(lacze).isSymLink());
    QCOMPARE(czytaj(sciezka), QByteArray("\r\n").repeated(14));
    // A new file is readable by others as any newly created file.
    const QString nowy = m_katalog->filePath(QStringLiteral("nowy.bm0"));
    zapiszPlikNapisow(nowy, przykladowe());
    QVERIFY(QFile::permissions(nowy) & QFile::ReadOther);
}

QTEST_APPLESS_MAIN(TestPlikNapisow)
#include "test_plik_napisow.moc"
