// The parts of the way through Wine that need no Wine: its COM ports by the stand-ins' rule,
// and finding the maker's two DLLs in the working folder in any letter case.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "transfer/WyborBibliotek.h"

class TestSrodowiskoWine : public QObject {
    Q_OBJECT
private slots:
    void portyJakBibliotekProgramu();
    void bibliotekiProducenta_data();
    void bibliotekiProducenta();
};

// Port N is the folder's comN in any letter case, a dangling link too, else /dev/ttyS<N-1>; a
// port linked later and a link another program changed are both made right by the next call.
void TestSrodowiskoWine::portyJakBibliotekProgramu() {
    QTemporaryDir prefiks, folder;
    QVERIFY(QDir(prefiks.path()).mkpath("dosdevices"));
    QVERIFY(QFile::link("/nie/ma/emulatora", folder.filePath("com1")));
    QVERIFY(QFile::link("/dev/ttyUSB0", folder.filePath("COM3")));
    const auto port = [&](int n) {
        return QFile::symLinkTarget(prefiks.filePath(QStringLiteral("dosdevices/com%1").arg(n)));
    };
    StanPortowWine stan;
    OdswiezPortyWine(prefiks.path(), folder.path(), stan);
    QCOMPARE(port(1), folder.filePath("com1"));
    QCOMPARE(port(2), QStringLiteral("/dev/ttyS1"));
    QCOMPARE(port(3), folder.filePath("COM3"));
    QCOMPARE(port(99), QStringLiteral("/dev/ttyS98"));

    QVERIFY(QFile::link("/dev/ttyUSB1", folder.filePath("com2")));
    QVERIFY(QFile::remove(prefiks.filePath("dosdevices/com5")));
    QVERIFY(QFile::link("/gdzie/indziej", prefiks.filePath("dosdevices/com5")));
    OdswiezPortyWine(prefiks.path(), folder.path(), stan);
    QCOMPARE(port(2), folder.filePath("com2"));
    QCOMPARE(port(5), QStringLiteral("/dev/ttyS4"));
    QCOMPARE(
        QDir(prefiks.filePath("dosdevices")).entryList(QDir::System | QDir::NoDotAndDotDot).size(),
        99);
}

void TestSrodowiskoWine::bibliotekiProducenta_data() {
    QTest::addColumn<QStringList>("pliki");
    QTest::addColumn<QStringList>("znalezione"); // empty: the program's own libraries
    QTest::newRow("obie") << QStringList{"Kavrel.dll", "Sevrin.dll"}
                          << QStringList{"Kavrel.dll", "Sevrin.dll"};
    QTest::newRow("inna wielkosc liter")
        << QStringList{"KAVREL.DLL", "sevrin.Dll"} << QStringList{"KAVREL.DLL", "sevrin.Dll"};
    QTest::newRow("dwie pisownie") << QStringList{"kavrel.dll", "KAVREL.DLL", "Sevrin.dll"}
                                   << QStringList{"KAVREL.DLL", "Sevrin.dll"};
    QTest::newRow("tylko jedna") << QStringList{"Kavrel.dll", "Sevrin.txt"} << QStringList{};
}

void TestSrodowiskoWine::bibliotekiProducenta() {
    QFETCH(QStringList, pliki);
    QFETCH(QStringList, znalezione);
    QTemporaryDir folder;
    for (const QString& p : pliki) {
        QFile f(folder.filePath(p));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    const auto b = BibliotekiProducenta(folder.path());
    QCOMPARE(b.has_value(), !znalezione.isEmpty());
    if (b) {
        QCOMPARE(b->kavrel, folder.filePath(znalezione[0]));
        QCOMPARE(b->sevrin, folder.filePath(znalezione[1]));
    }
}

QTEST_MAIN(TestSrodowiskoWine)
#include "test_srodowisko_wine.moc"
