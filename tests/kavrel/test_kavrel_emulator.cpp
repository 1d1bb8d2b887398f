// libkavrel.so end to end: the exported C functions, called as the program calls them (256-byte
// buffers), against the register emulator on a pseudo-terminal. Also checks that the library
// exports exactly the functions of its header.

#include "PomocKavrel.h"
#include "wspolne/EmulatorTestowy.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>

#include "link/kavrel/kavrel.h"

using pomoc::Bufor;
using pomoc::czytaj;
using pomoc::pliki;
using pomoc::zapisz;

namespace {

QByteArray naglowek(const QByteArray& nr) {
    return "#" + nr + "\r\n#\r\n#\r\n";
}

// The program's delete list.
QByteArray listaKasowania(const QByteArray& nr) {
    QByteArray t = naglowek(nr);
    for (int k : {176, 177, 178, 179, 180, 164, 38, 143, 37, 168, 41,  45,  43,  61,
                  65,  66,  67,  68,  69,  71,  72, 73,  74, 214, 215, 216, 217, 218})
        t += "$" + QByteArray::number(k) + "\r\n";
    return t;
}

// A key-definition file as the program's writer produces it: all 28 keys in its order.
QByteArray plikDefinicji(const QByteArray& nr) {
    return naglowek(nr) + "$176\t1\t12\t0\t1\t0\r\n"
                          "$65\t2\t5\t\r\n"
                          "$164\t3\t1\t0\t0\r\n"
                          "$214\t0\r\n"
                          "$177\t4\t0\t10\t1\t0\r\n"
                          "$66\t5\t1\t250\t0\t1\r\n"
                          "$38\t3\t2\t1000\t1\r\n"
                          "$215\t0\r\n"
                          "$178\t2\t40\t\r\n$67\t0\r\n$143\t0\r\n$216\t0\r\n"
                          "$179\t0\r\n$68\t0\r\n$37\t0\r\n$217\t0\r\n"
                          "$180\t0\r\n$69\t0\r\n$168\t0\r\n$218\t1\t3071\t1\t1\t1\r\n"
                          "$71\t0\r\n$41\t0\r\n"
                          "$72\t0\r\n$45\t0\r\n"
                          "$73\t0\r\n$43\t3\t8\t2147483647\t1\r\n"
                          "$74\t0\r\n$61\t0\r\n";
}

bool bezTymczasowych() {
    for (const QString& n : pliki())
        if (n.startsWith(".") && n.endsWith(".tmp"))
            return false;
    return true;
}

} // namespace

class TestKavrelEmulator : public QObject {
    Q_OBJECT

private slots:
    void eksportujeDokladnieFunkcjeZNaglowka() {
        QProcess nm;
        nm.start("nm", {"-D", "--defined-only", PIXO_KAVREL_SO});
        QVERIFY(nm.waitForFinished(10000));
        QStringList nazwy;
        for (const QByteArray& linia : nm.readAllStandardOutput().split('\n'))
            if (!linia.trimmed().isEmpty())
                nazwy << QString::fromLatin1(linia.split(' ').last());
        nazwy.sort();
        QCOMPARE(nazwy, (QStringList{"_BladSystemuPliku", "_OtwartoPlik", "_PowodBleduKonfiguracji",
                                     "_PowodBleduPortu", "_UstawPostep", "_ZamknieciePliku",
                                     "_ZapisanoDoPlikuLinie", "__KDefKlaw", "__ODefKlaw", "__OPlat",
                                     "__OWaluta", "__TowarMax", "__ZDefKlaw"}));
    }

    // The communication dialog writes KONFIG.TXT through the line-file functions; the register
    // operations then find the register through it.
    void zapisOdczytKasowanieDefinicji() {
        FolderZEmulatorem f;
        QVERIFY(f.uruchom({"--number", "07"}, 3));
        std::int32_t u = 0;
        QVERIFY(_OtwartoPlik(&u, Bufor("KONFIG.TXT").b, 1));
        QVERIFY(_ZapisanoDoPlikuLinie(u, Bufor("$07\tcom3:19200:mux0:1\t5").b));
        QVERIFY(_ZamknieciePliku(&u));
        QCOMPARE(czytaj("KONFIG.TXT"), QByteArray("$07\tcom3:19200:mux0:1\t5\r\n"));

        zapisz("klawisz.txt", plikDefinicji("07"));
        QCOMPARE(__ZDefKlaw(Bufor("klawisz.txt").b), 0);

        zapisz("123.@#$", naglowek("7"));
        QCOMPARE(__ODefKlaw(Bufor("123.@#$").b, Bufor("odczyt.txt").b), 0);
        // What was stored comes back byte for byte (the header names the number in decimal).
        QCOMPARE(czytaj("odczyt.txt"), plikDefinicji("7"));

        zapisz("tmp.plk", listaKasowania("07"));
        QCOMPARE(__KDefKlaw(Bufor("tmp.plk").b), 0);
        QCOMPARE(__ODefKlaw(Bufor("123.@#$").b, Bufor("odczyt.txt").b), 0);
        const QByteArray po = czytaj("odczyt.txt");
        QCOMPARE(po.count("\r\n"), 31);
        QCOMPARE(po.count("\t0\r\n"), 28); // every key undefined
        QVERIFY(bezTymczasowych());
    }

    void eksportTowarowPlatnosciWalut() {
        FolderZEmulatorem f;
        QVERIFY(f.uruchom({"--baud", "57600"}, 3));
        zapisz("konfig.txt", "$1\tcom3:57600:mux0:1\t5\r\n");
        zapisz("123.@#$", naglowek("1"));
        QCOMPARE(__TowarMax(Bufor("123.@#$").b, Bufor("towary.txt").b), 0);
        QCOMPARE(__OPlat(Bufor("123.@#$").b, Bufor("plat.txt").b), 0);
        QCOMPARE(__OWaluta(Bufor("123.@#$").b, Bufor("waluta.txt").b), 0);

        const QList<QByteArray> towary = czytaj("towary.txt").split('\n');
        QCOMPARE(towary.size(), 3 + 3071 + 1); // header, every PLU, nothing after the last CR LF
        QCOMPARE(towary.mid(0, 3), (QList<QByteArray>{"#1\r", "#\r", "#\r"}));
        for (int plu = 1; plu <= 3071; ++plu) {
            const QByteArray& l = towary[plu + 2];
            QVERIFY2(l.startsWith("$" + QByteArray::number(plu) + "\t"), l.constData());
            QVERIFY(l.endsWith('\r'));
            QVERIFY(l.split('\t').size() == 2 && l.split('\t')[1].size() > 1); // a name
        }
        const QList<QByteArray> plat = czytaj("plat.txt").split('\n');
        QCOMPARE(plat.size(), 3 + 6 + 1);
        for (int k = 1; k <= 6; ++k)
            QVERIFY(plat[k + 2].startsWith("$" + QByteArray::number(k) + "\t"));
        const QList<QByteArray> waluty = czytaj("waluta.txt").split('\n');
        QCOMPARE(waluty.size(), 3 + 8 + 1);
        for (int n = 1; n <= 8; ++n) {
            const QList<QByteArray> p = waluty[n + 2].chopped(1).split('\t');
            QCOMPARE(p.size(), 3);
            QCOMPARE(p[1], QByteArray::number(n));
            QVERIFY(!p[2].isEmpty());
        }
        QVERIFY(bezTymczasowych());
    }

    void multiplekser() {
        FolderZEmulatorem f;
        QVERIFY(f.uruchom({"--mux", "1=01,2=02"}, 3));
        zapisz("KONFIG.TXT", "$1\tcom3:9600:mux1:1\t2\r\n"
                             "$2\tcom3:9600:mux1:2\t2\r\n"
                             "$3\tcom3:9600:mux1:1\t2\r\n");
        zapisz("123.@#$", naglowek("2"));
        QCOMPARE(__OPlat(Bufor("123.@#$").b, Bufor("plat.txt").b), 0);
        zapisz("123.@#$", naglowek("1"));
        QCOMPARE(__OPlat(Bufor("123.@#$").b, Bufor("plat.txt").b), 0);
        // KONFIG.TXT sends register 3 to channel 1, where register 01 answers.
        zapisz("123.@#$", naglowek("3"));
        QCOMPARE(__OPlat(Bufor("123.@#$").b, Bufor("plat.txt").b), 22);
    }

    void kodyRejestruPrzechodza() {
        FolderZEmulatorem f;
        QVERIFY(f.uruchom({}, 3));
        zapisz("KONFIG.TXT", "$01\tcom3:9600:mux0:1\t2\r\n");
        // Nine payment keys: the register has room for eight.
        QByteArray dziewiec = naglowek("01");
        for (int k : {176, 177, 178, 179, 180, 65, 66, 67, 68})
            dziewiec += "$" + QByteArray::number(k) + "\t3\t1\t0\t0\r\n";
        zapisz("klawisz.txt", dziewiec);
        QCOMPARE(__ZDefKlaw(Bufor("klawisz.txt").b), 229);
        // A discount of 0.00 is the register's to refuse ("Rabat poza zakresem").
        zapisz("klawisz.txt", naglowek("01") + "$176\t5\t0\t0\t1\t0\r\n");
        QCOMPARE(__ZDefKlaw(Bufor("klawisz.txt").b), 207);
        // A bad file never reaches the register.
        zapisz("klawisz.txt", naglowek("01") + "$176\t2\t41\t\r\n");
        QCOMPARE(__ZDefKlaw(Bufor("klawisz.txt").b), 12);
    }

    void usterkiLacza_data() {
        QTest::addColumn<QStringList>("opcje");
        QTest::addColumn<QList<int>>("kody");
        QTest::newRow("no reply") << QStringList{"--no-reply"} << QList<int>{21};
        QTest::newRow("NAK") << QStringList{"--nak"} << QList<int>{24};
        QTest::newRow("corrupt frames") << QStringList{"--corrupt"} << QList<int>{23};
        QTest::newRow("other register number") << QStringList{"--wrong-number"} << QList<int>{22};
        QTest::newRow("cable pulled")
            << QStringList{"--disconnect-after", "40"} << QList<int>{20, 21, 23};
    }
    void usterkiLacza() {
        QFETCH(QStringList, opcje);
        QFETCH(QList<int>, kody);
        FolderZEmulatorem f;
        QVERIFY(f.uruchom(opcje, 3));
        const int timeout = 1;
        zapisz("KONFIG.TXT", "$1\tcom3:9600:mux0:1\t" + QByteArray::number(timeout) + "\r\n");
        zapisz("123.@#$", naglowek("1"));
        zapisz("towary.txt", "stare towary\r\n");
        QElapsedTimer t;
        t.start();
        const int kod = __TowarMax(Bufor("123.@#$").b, Bufor("towary.txt").b);
        const qint64 ms = t.elapsed();
        QVERIFY2(kody.contains(kod), qPrintable(QString("code %1").arg(kod)));
        QVERIFY2(ms <= (timeout + 1) * 1000, qPrintable(QString("%1 ms").arg(ms)));
        QCOMPARE(czytaj("towary.txt"), QByteArray("stare towary\r\n"));
        QVERIFY(bezTymczasowych());
    }

    void portNiedostepny_62() {
        FolderZEmulatorem f;
        zapisz("123.@#$", naglowek("1"));
        // No com77 here and no /dev/ttyS76 on this machine.
        zapisz("KONFIG.TXT", "$1\tcom77:9600:mux0:1\t1\r\n");
        QCOMPARE(__OWaluta(Bufor("123.@#$").b, Bufor("waluta.txt").b), 62);
        // A port another program holds.
        QVERIFY(f.uruchom({}, 3));
        zapisz("KONFIG.TXT", "$1\tcom3:9600:mux0:1\t1\r\n");
        const int fd = ::open("com3", O_RDWR | O_NOCTTY | O_CLOEXEC);
        QVERIFY(fd >= 0);
        QCOMPARE(::flock(fd, LOCK_EX | LOCK_NB), 0);
        QCOMPARE(__OWaluta(Bufor("123.@#$").b, Bufor("waluta.txt").b), 62);
        ::close(fd);
        QCOMPARE(__OWaluta(Bufor("123.@#$").b, Bufor("waluta.txt").b), 0);
        QVERIFY(bezTymczasowych());
    }
};

QTEST_GUILESS_MAIN(TestKavrelEmulator)
#include "test_kavrel_emulator.moc"
