// The six register operations of the key-definition library against a fake register: the order
// of the checks and every code they give, the connection taken from KONFIG.TXT, the register
// number check, the client's codes passed on unchanged, and output files that are written
// whole or left as they were.

#include "PomocKavrel.h"
#include "link/kavrel/Operacje.h"

#include <QtTest>

#include <csignal>
#include <sys/resource.h>

using namespace pixo;
using namespace pixo::kavrel;
using pomoc::Bufor;
using pomoc::czytaj;
using pomoc::FakeKasa;
using pomoc::pliki;
using pomoc::zapisz;

namespace {

// The six operations behind one shape: input, output (ignored by the two that only send).
enum Op { ODef, ZDef, KDef, Towary, Platnosci, Waluty };
const char* const nazwyOp[] = {"__ODefKlaw", "__ZDefKlaw", "__KDefKlaw",
                               "__TowarMax", "__OPlat",    "__OWaluta"};

std::uint8_t wykonaj(Op op, const char* wej, const char* wyj, FakeKasa& kasa) {
    const auto p = pomoc::polaczenie(kasa);
    switch (op) {
    case ODef:
        return odczytajDefinicje(wej, wyj, p);
    case ZDef:
        return zapiszDefinicje(wej, p);
    case KDef:
        return skasujDefinicje(wej, p);
    case Towary:
        return odczytajTowary(wej, wyj, p);
    case Platnosci:
        return odczytajPlatnosci(wej, wyj, p);
    case Waluty:
        return odczytajWaluty(wej, wyj, p);
    }
    return 0;
}

std::uint8_t wykonaj(Op op, const QByteArray& wej, const QByteArray& wyj, FakeKasa& kasa) {
    return wykonaj(op, Bufor(wej).b, Bufor(wyj).b, kasa);
}

// The input each operation takes, for register number `nr`, under the program's own names.
QByteArray wejscieOp(Op op) {
    switch (op) {
    case ZDef:
        return "klawisz.txt";
    case KDef:
        return "tmp.plk";
    default:
        return "123.@#$";
    }
}
QByteArray wyjscieOp(Op op) {
    switch (op) {
    case Towary:
        return "towary.txt";
    case Platnosci:
        return "plat.txt";
    case Waluty:
        return "waluta.txt";
    default:
        return "klawisz.txt";
    }
}
bool czyta(Op op) {
    return op != ZDef && op != KDef;
}

void przygotujWejscie(Op op, const QByteArray& nr = "1") {
    const QByteArray h = "#" + nr + "\r\n#\r\n#\r\n";
    switch (op) {
    case ZDef:
        zapisz("klawisz.txt", h + "$176\t1\t12\t0\t1\t0\r\n$65\t2\t5\t\r\n$164\t3\t1\t0\t0\r\n");
        break;
    case KDef:
        zapisz("tmp.plk", h + "$176\r\n$177\r\n$218\r\n");
        break;
    default:
        zapisz("123.@#$", h);
        break;
    }
}

const QByteArray KonfigDomyslny = "$01\tcom3:19200:mux1:2\t7\r\n";

void dodajOperacje() {
    QTest::addColumn<int>("op");
    for (int op = ODef; op <= Waluty; ++op)
        QTest::newRow(nazwyOp[op]) << op;
}

void dodajOdczyty() {
    QTest::addColumn<int>("op");
    for (int op : {ODef, Towary, Platnosci, Waluty})
        QTest::newRow(nazwyOp[op]) << op;
}

// Sets the current folder up for a successful call of `op`.
void przygotuj(Op op) {
    zapisz("KONFIG.TXT", KonfigDomyslny);
    przygotujWejscie(op);
}

// No temporary may survive an operation.
bool bezTymczasowych() {
    for (const QString& n : pliki())
        if (n.startsWith(".") && n.endsWith(".tmp"))
            return false;
    return true;
}

} // namespace

class TestOperacje : public QObject {
    Q_OBJECT

private slots:
    // ---- what a successful call does ----

    void polaczenieZKonfiguracji_data() { dodajOperacje(); }
    void polaczenieZKonfiguracji() {
        QFETCH(int, op);
        pomoc::FolderRoboczy f;
        przygotuj(Op(op));
        FakeKasa kasa;
        QCOMPARE(wykonaj(Op(op), wejscieOp(Op(op)), wyjscieOp(Op(op)), kasa), 0);
        QCOMPARE(kasa.polaczen, 1);
        QCOMPARE(kasa.parametry.katalog, std::string("."));
        QCOMPARE(kasa.parametry.port, 3);
        QCOMPARE(kasa.parametry.baud, 19200);
        QCOMPARE(kasa.parametry.multiplekser, 1);
        QCOMPARE(kasa.parametry.kanal, 2);
        QCOMPARE(kasa.parametry.timeoutSek, 7);
        QCOMPARE(kasa.operacji, 1);
        QVERIFY(bezTymczasowych());
    }

    void odczytDefinicjiPiszePlikKlawiszy() {
        pomoc::FolderRoboczy f;
        przygotuj(ODef);
        FakeKasa kasa;
        DefinicjaNaKasie d;
        d.kod = 65;
        d.typ = 2;
        d.pola[0] = 5;
        kasa.definicje = {d};
        QCOMPARE(wykonaj(ODef, "123.@#$", "klawisz.txt", kasa), 0);
        const QByteArray t = czytaj("klawisz.txt");
        QVERIFY(t.startsWith("#1\r\n#\r\n#\r\n$176\t0\r\n$65\t2\t5\t\r\n$164\t0\r\n"));
        QCOMPARE(t.count("\r\n"), 31);
        QVERIFY(t.endsWith("$74\t0\r\n$61\t0\r\n"));
        QCOMPARE(czytaj("123.@#$"), QByteArray("#1\r\n#\r\n#\r\n")); // input left alone
    }

    void odczytyPiszaSwojePliki() {
        pomoc::FolderRoboczy f;
        zapisz("KONFIG.TXT", "$12\tcom1:9600:mux0:1\t5\r\n");
        zapisz("123.@#$", "#12\r\n#\r\n#\r\n");
        FakeKasa kasa;
        kasa.numer = "12";
        kasa.towary = {{2, "SER \xa3\xa2\xa1"}, {1, "MLEKO"}};
        QCOMPARE(wykonaj(Towary, "123.@#$", "towary.txt", kasa), 0);
        QCOMPARE(czytaj("towary.txt"),
                 QByteArray("#12\r\n#\r\n#\r\n$1\tMLEKO\r\n$2\tSER \xa3\xa2\xa1\r\n"));
        QCOMPARE(wykonaj(Platnosci, "123.@#$", "plat.txt", kasa), 0);
        QCOMPARE(czytaj("plat.txt"), QByteArray("#12\r\n#\r\n#\r\n$1\tKARTA\r\n$2\tCZEK\r\n"
                                                "$3\tBON\r\n$4\tKREDYT\r\n$5\tPRZELEW\r\n"
                                                "$6\tINNA\r\n"));
        QCOMPARE(wykonaj(Waluty, "123.@#$", "waluta.txt", kasa), 0);
        QCOMPARE(czytaj("waluta.txt"),
                 QByteArray("#12\r\n#\r\n#\r\n$1\t1\tEUR\r\n$2\t2\tUSD\r\n$3\t3\tGBP\r\n"
                            "$4\t4\tCHF\r\n$5\t5\tCZK\r\n$6\t6\tNOK\r\n$7\t7\tSEK\r\n"
                            "$8\t8\tDKK\r\n"));
    }

    void zapisIKasowanieWysylajaPlik() {
        pomoc::FolderRoboczy f;
        przygotuj(ZDef);
        przygotuj(KDef);
        FakeKasa kasa;
        QCOMPARE(wykonaj(ZDef, "klawisz.txt", "", kasa), 0);
        QCOMPARE(kasa.zapisane.size(), std::size_t(3));
        QCOMPARE(kasa.zapisane[0].kod, std::uint8_t(176));
        QCOMPARE(kasa.zapisane[0].pola[0], std::int64_t(12));
        QCOMPARE(kasa.zapisane[0].pola[2], std::int64_t(1));
        QCOMPARE(kasa.zapisane[1].typ, std::uint8_t(2));
        QCOMPARE(kasa.zapisane[2].kod, std::uint8_t(164));
        QCOMPARE(wykonaj(KDef, "TMP.PLK", "", kasa), 0); // the name in any letter case
        QCOMPARE(kasa.skasowane, (std::vector<std::uint8_t>{176, 177, 218}));
    }

    void numerKasyPorownywanyJakoLiczba() {
        pomoc::FolderRoboczy f;
        przygotuj(ODef);
        FakeKasa kasa;
        for (const char* numer : {"01", "1", " 1", "001"}) {
            kasa.numer = numer;
            QCOMPARE(wykonaj(ODef, "123.@#$", "klawisz.txt", kasa), 0);
        }
        zapisz("123.@#$", "#05\r\n#\r\n#\r\n");
        zapisz("KONFIG.TXT", "$5\tcom1:9600:mux0:1\t5\r\n");
        kasa.numer = "05";
        QCOMPARE(wykonaj(ODef, "123.@#$", "klawisz.txt", kasa), 0);
        QVERIFY(czytaj("klawisz.txt").startsWith("#5\r\n"));
    }

    // ---- the register number ----

    void innyNumerKasy_22_data() { dodajOperacje(); }
    void innyNumerKasy_22() {
        QFETCH(int, op);
        pomoc::FolderRoboczy f;
        przygotuj(Op(op));
        FakeKasa kasa;
        kasa.numer = "02";
        QCOMPARE(wykonaj(Op(op), wejscieOp(Op(op)), wyjscieOp(Op(op)), kasa), 22);
        QCOMPARE(kasa.operacji, 0); // nothing read or changed in the wrong register
        if (czyta(Op(op)))
            QVERIFY(!QFile::exists(wyjscieOp(Op(op))));
        QVERIFY(bezTymczasowych());
    }

    void numerKasyNieczytelny_23() {
        pomoc::FolderRoboczy f;
        przygotuj(ODef);
        FakeKasa kasa;
        for (const char* numer : {"", "x1", "1a", "\x01"}) {
            kasa.numer = numer;
            QCOMPARE(wykonaj(ODef, "123.@#$", "klawisz.txt", kasa), 23);
        }
        QCOMPARE(kasa.operacji, 0);
    }

    // ---- client codes pass through ----

    void kodyKlientaPrzechodza_data() {
        QTest::addColumn<int>("op");
        QTest::addColumn<int>("gdzie"); // 0 connect, 1 register number, 2 the operation
        QTest::addColumn<int>("kod");
        for (int op = ODef; op <= Waluty; ++op)
            for (int gdzie = 0; gdzie < 3; ++gdzie)
                for (int kod : {20, 21, 23, 24, 25, 62, 101, 115, 200, 211, 228, 229, 255})
                    QTest::addRow("%s/%d/%d", nazwyOp[op], gdzie, kod) << op << gdzie << kod;
    }
    void kodyKlientaPrzechodza() {
        QFETCH(int, op);
        QFETCH(int, gdzie);
        QFETCH(int, kod);
        pomoc::FolderRoboczy f;
        przygotuj(Op(op));
        const QByteArray wyj = wyjscieOp(Op(op));
        if (czyta(Op(op)))
            zapisz(wyj, "stary plik");
        FakeKasa kasa;
        (gdzie == 0   ? kasa.kodPolaczenia
         : gdzie == 1 ? kasa.kodNumeru
                      : kasa.kodOperacji) = static_cast<std::uint8_t>(kod);
        QCOMPARE(int(wykonaj(Op(op), wejscieOp(Op(op)), wyj, kasa)), kod);
        if (czyta(Op(op)))
            QCOMPARE(czytaj(wyj), QByteArray("stary plik"));
        QVERIFY(bezTymczasowych());
    }

    void wyjatekKlienta_23_data() { dodajOperacje(); }
    void wyjatekKlienta_23() {
        QFETCH(int, op);
        pomoc::FolderRoboczy f;
        przygotuj(Op(op));
        FakeKasa kasa;
        kasa.wyjatek = true;
        QCOMPARE(wykonaj(Op(op), wejscieOp(Op(op)), wyjscieOp(Op(op)), kasa), 23);
        QVERIFY(bezTymczasowych());
    }

    void zlaOdpowiedzKasy_23() {
        pomoc::FolderRoboczy f;
        przygotuj(ODef);
        zapisz("klawisz.txt", "stary");
        FakeKasa kasa;
        DefinicjaNaKasie d;
        d.kod = 70; // no such key
        kasa.definicje = {d};
        QCOMPARE(wykonaj(ODef, "123.@#$", "klawisz.txt", kasa), 23);
        kasa.towary = {{0, "ZERO"}};
        QCOMPARE(wykonaj(Towary, "123.@#$", "towary.txt", kasa), 23);
        kasa.platnosci.pop_back();
        QCOMPARE(wykonaj(Platnosci, "123.@#$", "plat.txt", kasa), 23);
        kasa.waluty[3] = "A\tB";
        QCOMPARE(wykonaj(Waluty, "123.@#$", "waluta.txt", kasa), 23);
        QCOMPARE(pliki(), (QStringList{"123.@#$", "KONFIG.TXT", "klawisz.txt"}));
        QCOMPARE(czytaj("klawisz.txt"), QByteArray("stary"));
    }

    // ---- names ----

    void nazwy_data() {
        QTest::addColumn<int>("op");
        QTest::addColumn<QByteArray>("wej");
        QTest::addColumn<QByteArray>("wyj");
        QTest::addColumn<int>("kod");
        for (int op = ODef; op <= Waluty; ++op) {
            const char* n = nazwyOp[op];
            const QByteArray wyj = wyjscieOp(Op(op));
            QTest::addRow("%s no input", n) << op << QByteArray() << wyj << 2;
            QTest::addRow("%s KONFIG.TXT in", n) << op << QByteArray("KONFIG.TXT") << wyj << 1;
            QTest::addRow("%s raport.txt in", n) << op << QByteArray("sub/raport.txt") << wyj << 1;
            QTest::addRow("%s missing input", n) << op << QByteArray("brak.txt") << wyj << 6;
            QTest::addRow("%s folder as input", n) << op << QByteArray("sub") << wyj << 6;
            if (!czyta(Op(op)))
                continue;
            QTest::addRow("%s no output", n) << op << QByteArray("123.@#$") << QByteArray() << 3;
            QTest::addRow("%s konfig.txt out", n)
                << op << QByteArray("123.@#$") << QByteArray("konfig.txt") << 4;
            QTest::addRow("%s RAPORT.TXT out", n)
                << op << QByteArray("123.@#$") << QByteArray("sub/Raport.Txt") << 4;
            QTest::addRow("%s same names", n)
                << op << QByteArray("123.@#$") << QByteArray("123.@#$") << 5;
            QTest::addRow("%s same file other case", n)
                << op << QByteArray("Zad.txt") << QByteArray("./ZAD.TXT") << 5;
            QTest::addRow("%s output folder missing", n)
                << op << QByteArray("123.@#$") << QByteArray("brak/x.txt") << 8;
            QTest::addRow("%s output is a folder", n)
                << op << QByteArray("123.@#$") << QByteArray("sub") << 8;
        }
    }
    void nazwy() {
        QFETCH(int, op);
        QFETCH(QByteArray, wej);
        QFETCH(QByteArray, wyj);
        QFETCH(int, kod);
        pomoc::FolderRoboczy f;
        przygotuj(Op(op));
        QVERIFY(QDir().mkdir("sub"));
        zapisz("Zad.txt", "#1\r\n#\r\n#\r\n");
        FakeKasa kasa;
        QCOMPARE(int(wykonaj(Op(op), wej, wyj, kasa)), kod);
        QCOMPARE(kasa.polaczen, 0); // found out before anything is sent
        QVERIFY(bezTymczasowych());
        QVERIFY(QFileInfo("sub").isDir());
    }

    void buforyBezZera() {
        pomoc::FolderRoboczy f;
        przygotuj(ODef);
        FakeKasa kasa;
        pomoc::BuforNaGranicy b; // 256 bytes without a zero, then an unreadable page
        QCOMPARE(wykonaj(ODef, b.dane(), Bufor("klawisz.txt").b, kasa), 2);
        QCOMPARE(wykonaj(ODef, Bufor("123.@#$").b, b.dane(), kasa), 3);
        QCOMPARE(wykonaj(ZDef, b.dane(), nullptr, kasa), 2);
        QCOMPARE(wykonaj(KDef, b.dane(), nullptr, kasa), 2);
        QCOMPARE(wykonaj(Towary, nullptr, nullptr, kasa), 2);
        QCOMPARE(wykonaj(Towary, Bufor("123.@#$").b, nullptr, kasa), 3);
        QCOMPARE(kasa.polaczen, 0);
    }

    // ---- input files ----

    void zleWejscie_data() {
        QTest::addColumn<int>("op");
        QTest::addColumn<QByteArray>("tresc");
        QTest::addColumn<int>("kod");
        for (int op = ODef; op <= Waluty; ++op) {
            const char* n = nazwyOp[op];
            QTest::addRow("%s empty", n) << op << QByteArray() << 10;
            QTest::addRow("%s two lines", n) << op << QByteArray("#1\r\n#\r\n") << 10;
            QTest::addRow("%s no number", n) << op << QByteArray("#\r\n#\r\n#\r\n") << 19;
            QTest::addRow("%s number 100", n) << op << QByteArray("#100\r\n#\r\n#\r\n") << 19;
            QTest::addRow("%s binary", n) << op << QByteArray("\x7f\x45\x4c\x46\x02\x01") << 11;
            QTest::addRow("%s long line", n) << op << QByteArray(4000, 'x') << 11;
        }
        QTest::newRow("__ZDefKlaw function 41")
            << int(ZDef) << QByteArray("#1\r\n#\r\n#\r\n$176\t2\t41\t\r\n") << 12;
        QTest::newRow("__ZDefKlaw key twice")
            << int(ZDef) << QByteArray("#1\r\n#\r\n#\r\n$176\t0\r\n$176\t0\r\n") << 12;
        QTest::newRow("__ZDefKlaw missing field")
            << int(ZDef) << QByteArray("#1\r\n#\r\n#\r\n$176\t1\t5\r\n") << 11;
        QTest::newRow("__KDefKlaw unknown key")
            << int(KDef) << QByteArray("#1\r\n#\r\n#\r\n$999\r\n") << 12;
        QTest::newRow("__KDefKlaw line with a type")
            << int(KDef) << QByteArray("#1\r\n#\r\n#\r\n$176\t0\r\n") << 11;
        QTest::newRow("__ODefKlaw request with more lines")
            << int(ODef) << QByteArray("#1\r\n#\r\n#\r\n$176\r\n") << 11;
    }
    void zleWejscie() {
        QFETCH(int, op);
        QFETCH(QByteArray, tresc);
        QFETCH(int, kod);
        pomoc::FolderRoboczy f;
        zapisz("KONFIG.TXT", KonfigDomyslny);
        zapisz(wejscieOp(Op(op)), tresc);
        FakeKasa kasa;
        QCOMPARE(int(wykonaj(Op(op), wejscieOp(Op(op)), QByteArray("wynik.txt"), kasa)), kod);
        QCOMPARE(kasa.polaczen, 0); // nothing sent when the input is bad
        QVERIFY(!QFile::exists("wynik.txt"));
    }

    // ---- configuration ----

    void konfiguracja_data() {
        QTest::addColumn<int>("op");
        QTest::addColumn<QByteArray>("konfig");
        QTest::addColumn<int>("kod");
        for (int op = ODef; op <= Waluty; ++op) {
            const char* n = nazwyOp[op];
            QTest::addRow("%s missing", n) << op << QByteArray("<none>") << 7;
            QTest::addRow("%s empty", n) << op << QByteArray() << 13;
            QTest::addRow("%s other register", n)
                << op << QByteArray("$2\tcom1:9600:mux0:1\t5") << 14;
            QTest::addRow("%s port 0", n) << op << QByteArray("$1\tcom0:9600:mux0:1\t5") << 15;
            QTest::addRow("%s format", n) << op << QByteArray("$1 com1 9600") << 16;
        }
    }
    void konfiguracja() {
        QFETCH(int, op);
        QFETCH(QByteArray, konfig);
        QFETCH(int, kod);
        pomoc::FolderRoboczy f;
        przygotujWejscie(Op(op));
        if (konfig != "<none>")
            zapisz("konfig.txt", konfig);
        FakeKasa kasa;
        QCOMPARE(int(wykonaj(Op(op), wejscieOp(Op(op)), QByteArray("wynik.txt"), kasa)), kod);
        QCOMPARE(kasa.polaczen, 0);
        QVERIFY(!QFile::exists("wynik.txt"));
    }

    void liniaRejestruWsrodWielu() {
        pomoc::FolderRoboczy f;
        zapisz("Konfig.Txt", "$1\tcom1:9600:mux1:1\t5\r\n$2\tcom1:9600:mux1:2\t5\r\n"
                             "$3\tcom1:9600:mux1:3\t5\r\n");
        zapisz("123.@#$", "#02\r\n#\r\n#\r\n");
        FakeKasa kasa;
        kasa.numer = "02";
        QCOMPARE(wykonaj(Towary, "123.@#$", "towary.txt", kasa), 0);
        QCOMPARE(kasa.parametry.kanal, 2);
    }

    // ---- whole or nothing ----

    void nieudanyZapisZostawiaStaryPlik_17() {
        pomoc::FolderRoboczy f;
        przygotuj(Towary);
        zapisz("towary.txt", "stare towary");
        FakeKasa kasa;
        for (std::uint16_t plu = 1; plu <= 3071; ++plu)
            kasa.towary.push_back({plu, "TOWAR NUMER " + std::to_string(plu)});
        rlimit stary{};
        ::getrlimit(RLIMIT_FSIZE, &stary);
        const auto sygnal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit nowy = stary;
        nowy.rlim_cur = 4096; // the disk fills up in the middle of the list
        ::setrlimit(RLIMIT_FSIZE, &nowy);
        const std::uint8_t wynik = wykonaj(Towary, "123.@#$", "towary.txt", kasa);
        ::setrlimit(RLIMIT_FSIZE, &stary);
        std::signal(SIGXFSZ, sygnal);
        QCOMPARE(wynik, 17);
        QCOMPARE(czytaj("towary.txt"), QByteArray("stare towary"));
        QVERIFY(bezTymczasowych());
        // With room on the disk the same export goes through whole.
        QCOMPARE(wykonaj(Towary, "123.@#$", "towary.txt", kasa), 0);
        QCOMPARE(czytaj("towary.txt").count("\r\n"), 3 + 3071);
    }

    void nieudanaOperacjaZostawiaStaryPlik_data() { dodajOdczyty(); }
    void nieudanaOperacjaZostawiaStaryPlik() {
        QFETCH(int, op);
        pomoc::FolderRoboczy f;
        przygotuj(Op(op));
        const QByteArray wyj = wyjscieOp(Op(op));
        zapisz(wyj, "stara tresc\r\n");
        FakeKasa kasa;
        kasa.kodOperacji = 21;
        QCOMPARE(wykonaj(Op(op), wejscieOp(Op(op)), wyj, kasa), 21);
        QCOMPARE(czytaj(wyj), QByteArray("stara tresc\r\n"));
        QVERIFY(bezTymczasowych());
        kasa.kodOperacji = 0;
        QCOMPARE(wykonaj(Op(op), wejscieOp(Op(op)), wyj, kasa), 0);
        QVERIFY(czytaj(wyj).startsWith("#1\r\n#\r\n#\r\n"));
        QCOMPARE(pliki().size(), 3);
    }
};

QTEST_GUILESS_MAIN(TestOperacje)
#include "test_kavrel_operacje.moc"
