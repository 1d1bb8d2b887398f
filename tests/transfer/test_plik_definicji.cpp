// The key-definition file without the window: the writer's exact bytes, the reader's rules
// and rejections, and the two small files for the protocol library.
#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

#include "core/BladProgramu.h"
#include "transfer/NrKasy.h"
#include "transfer/PlikDefinicji.h"

namespace {

const QByteArray kNaglowek = "#1\r\n#\r\n#\r\n";

TDefKlawisza rekord(std::uint8_t rodzaj, std::uint8_t numer = 0, std::int64_t wartosc = 0) {
    TDefKlawisza d;
    d.Rodzaj = rodzaj;
    d.Numer = numer;
    d.Wartosc = wartosc;
    return d;
}

// What the reader gives for each position: the key's code in Kod.
TabelaKlawiszy zKodami(TabelaKlawiszy t) {
    for (int w = 0; w < 4; ++w)
        for (int k = 0; k < liczbaKlawiszy(w); ++k) {
            TDefKlawisza d = t.odczytaj(w, k);
            d.Kod = kodKlawisza(w, k);
            t.zapisz(w, k, d);
        }
    return t;
}

OdczytDefinicji czytaj(QByteArray tresc) {
    QBuffer bufor(&tresc);
    bufor.open(QIODevice::ReadOnly);
    return CzytajDefinicje(bufor, TabelaKlawiszy{});
}

} // namespace

class TestPlikDefinicji : public QObject {
    Q_OBJECT
private slots:
    void przykladBajtPoBajcie();
    void skrajneWartosciWracajaBezZmian();
    void czytanie_data();
    void czytanie();
    void plikiDlaBiblioteki();
    void tylkoZwyklePliki_data();
    void tylkoZwyklePliki();
};

void TestPlikDefinicji::przykladBajtPoBajcie() {
    TabelaKlawiszy t;
    TDefKlawisza towar = rekord(RodzajTowar);
    towar.PLU = 12;
    towar.Zaplata = 1;
    t.zapisz(WarstwaBezposrednio, 0, towar);
    t.zapisz(WarstwaLewyAlt, 0, rekord(RodzajFunkcja, 5));
    t.zapisz(WarstwaPrawyAlt, 0, rekord(RodzajPlatnosc, 1));
    TDefKlawisza rabat = rekord(RodzajRabatNarzut, 1, 10);
    rabat.Zakres = 1;
    t.zapisz(WarstwaBezposrednio, 1, rabat);
    TDefKlawisza narzut = rekord(RodzajRabatNarzut, 4, 250);
    narzut.Zakres = 2;
    t.zapisz(WarstwaLewyAlt, 1, narzut);
    TDefKlawisza waluta = rekord(RodzajWaluta, 2);
    waluta.Kwota = 1000;
    t.zapisz(WarstwaPrawyAlt, 1, waluta);

    const QByteArray oczekiwany = kNaglowek +
                                  "$176\t1\t12\t0\t1\t0\r\n$65\t2\t5\t\r\n$164\t3\t1\t0\t0\r\n"
                                  "$214\t0\r\n$177\t4\t0\t10\t1\t0\r\n$66\t5\t1\t250\t0\t1\r\n"
                                  "$38\t3\t2\t1000\t1\r\n$215\t0\r\n"
                                  "$178\t0\r\n$67\t0\r\n$143\t0\r\n$216\t0\r\n"
                                  "$179\t0\r\n$68\t0\r\n$37\t0\r\n$217\t0\r\n"
                                  "$180\t0\r\n$69\t0\r\n$168\t0\r\n$218\t0\r\n"
                                  "$71\t0\r\n$41\t0\r\n$72\t0\r\n$45\t0\r\n"
                                  "$73\t0\r\n$43\t0\r\n$74\t0\r\n$61\t0\r\n";
    QCOMPARE(TekstPlikuDefinicji(t, "1"), oczekiwany);
    const OdczytDefinicji odczyt = czytaj(oczekiwany);
    QVERIFY(!odczyt.zlaLinia);
    QCOMPARE(odczyt.tabela, zKodami(t));
}

void TestPlikDefinicji::skrajneWartosciWracajaBezZmian() {
    TabelaKlawiszy t;
    TDefKlawisza towar = rekord(RodzajTowar);
    towar.PLU = 65535;
    towar.Pojedynczo = towar.Paragon = 1;
    t.zapisz(WarstwaLewyAlt, 8, towar);
    t.zapisz(WarstwaPrawyAlt, 8, rekord(RodzajFunkcja, 0));
    TDefKlawisza platnosc = rekord(RodzajPlatnosc, 8);
    platnosc.Kwota = 2147483647;
    t.zapisz(WarstwaLewyPrawyAlt, 4, platnosc);
    t.zapisz(WarstwaBezposrednio, 4, rekord(RodzajRabatNarzut, 3, -2147483648LL)); // scope 0
    TDefKlawisza oba = rekord(RodzajRabatNarzut, 2, 99);
    oba.Zakres = 3;
    t.zapisz(WarstwaLewyAlt, 0, oba);
    const OdczytDefinicji odczyt = czytaj(TekstPlikuDefinicji(t, "12"));
    QVERIFY(!odczyt.zlaLinia);
    QCOMPARE(odczyt.tabela, zKodami(t));

    // An amount beyond 32 bits is written but cannot be read back.
    platnosc.Kwota = 2147483648LL;
    t.zapisz(WarstwaLewyPrawyAlt, 4, platnosc);
    QCOMPARE(czytaj(TekstPlikuDefinicji(t, "12")).zlaLinia,
             QByteArray("$218\t3\t8\t2147483648\t0"));
}

// Each file either loads (direct F1 then has the given kind) or stops at the given line.
void TestPlikDefinicji::czytanie_data() {
    QTest::addColumn<QByteArray>("plik");
    QTest::addColumn<QByteArray>("zlaLinia"); // "-" when the file loads
    QTest::addColumn<int>("rodzajF1");
    const auto n = [](const char* nazwa, const QByteArray& tresc, const QByteArray& zla, int r) {
        QTest::newRow(nazwa) << tresc << zla << r;
    };
    n("pusty plik", "", "", 0); // the first header line is missing
    n("dwie linie", "#1\r\n#\r\n", "", 0);
    n("sam naglowek", kNaglowek, "-", 0);
    n("funkcja 40", kNaglowek + "$176\t2\t40\r\n", "-", 2);
    n("funkcja 41", kNaglowek + "$176\t2\t41\r\n", "$176\t2\t41", 0);
    n("platnosc 9", kNaglowek + "$176\t3\t9\t0\t0\r\n", "$176\t3\t9\t0\t0", 0);
    n("ujemna kwota", kNaglowek + "$176\t3\t1\t-1\t0", "$176\t3\t1\t-1\t0", 0);
    n("waluta to tylko 1", kNaglowek + "$176\t3\t1\t5\t7\r\n", "-", 3);
    n("nieznany kod", kNaglowek + "$999\t0\r\n", "-", 0);
    n("nieznany kod i zle pole", kNaglowek + "$999\t1\tx\r\n", "$999\t1\tx", 0);
    n("znacznik dowolny", kNaglowek + "#176\t2\t1\t\r\n", "-", 2);
    n("kod ponad 16 bitow", kNaglowek + "$65601\t2\t1\t\r\n", "$65601\t2\t1\t", 0);
    n("ujemny kod", kNaglowek + "$-1\t0\r\n", "$-1\t0", 0);
    n("PLU 65535", kNaglowek + "$176\t1\t65535\t0\t0\t0\r\n", "-", 1);
    n("PLU ponad 16 bitow", kNaglowek + "$176\t1\t65537\t0\t0\t0", "$176\t1\t65537\t0\t0\t0", 0);
    n("zakres flaga 2", kNaglowek + "$176\t4\t0\t5\t2\t0", "$176\t4\t0\t5\t2\t0", 0);
    n("pozniejsza wygrywa", kNaglowek + "$176\t2\t1\t\r\n$176\t4\t0\t5\t1\t0\r\n", "-", 5);
    n("piata linia zla", kNaglowek + "$176\t2\t1\t\r\nxx\r\n", "xx", 0);
    n("pusta linia", kNaglowek + "$176\t0\r\n\r\n$177\t0\r\n", "", 0);
    n("typ 6", kNaglowek + "$176\t6\r\n", "$176\t6", 0);
    n("bez typu", kNaglowek + "$176\r\n", "$176", 0);
    n("flaga 2", kNaglowek + "$176\t1\t1\t2\t0\t0\r\n", "$176\t1\t1\t2\t0\t0", 0);
    n("brak pola", kNaglowek + "$176\t1\t1\t0\t0\r\n", "$176\t1\t1\t0\t0", 0);
    n("ponad 32 bity", kNaglowek + "$176\t2\t4294967301\r\n", "$176\t2\t4294967301", 0);
    n("spacja w liczbie", kNaglowek + "$176\t2\t 5\r\n", "$176\t2\t 5", 0);
    n("NUL w nieuzywanym polu", kNaglowek + QByteArray("$176\t0\t\0", 8), "-", 0);
    n("NUL w kodzie",
      kNaglowek + QByteArray("$17\0"
                             "6\t0\r\n",
                             9),
      QByteArray("$17\0"
                 "6\t0",
                 7),
      0);
    n("same LF", "#1\n#\n#\n$176\t2\t5\t\n", "-", 2);
    n("same CR", "#1\r#\r#\r$176\t2\t5\t\r$177\t0", "-", 2);
    n("linia ponad 255", kNaglowek + "$176\t0\t" + QByteArray(300, '0') + "\r\n",
      "$176\t0\t" + QByteArray(248, '0'), 0);
    n("dlugi naglowek", QByteArray(1000, 'x') + "\r\n#\r\n#\r\n", QByteArray(255, 'x'), 0);
    n("binarny", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x01", 19),
      QByteArray("IHDR\0\0\x01", 7), 0);
}

void TestPlikDefinicji::czytanie() {
    QFETCH(QByteArray, plik);
    QFETCH(QByteArray, zlaLinia);
    QFETCH(int, rodzajF1);
    const OdczytDefinicji odczyt = czytaj(plik);
    if (zlaLinia == "-") {
        QVERIFY2(!odczyt.zlaLinia, odczyt.zlaLinia->constData());
        QCOMPARE(int(odczyt.tabela.odczytaj(WarstwaBezposrednio, 0).Rodzaj), rodzajF1);
    } else {
        QCOMPARE(odczyt.zlaLinia, std::optional<QByteArray>(zlaLinia));
    }
}

void TestPlikDefinicji::plikiDlaBiblioteki() {
    QCOMPARE(TekstListyKasowania("12"),
             QByteArray("#12\r\n#\r\n#\r\n$176\r\n$177\r\n$178\r\n$179\r\n$180\r\n"
                        "$164\r\n$38\r\n$143\r\n$37\r\n$168\r\n$41\r\n$45\r\n$43\r\n$61\r\n"
                        "$65\r\n$66\r\n$67\r\n$68\r\n$69\r\n$71\r\n$72\r\n$73\r\n$74\r\n"
                        "$214\r\n$215\r\n$216\r\n$217\r\n$218\r\n"));
    // The read request's number is the register number's value: 05 is written as 5.
    QCOMPARE(NumerKasy("05"), std::optional<std::uint8_t>(5));
    QCOMPARE(NumerKasy("-1"), std::optional<std::uint8_t>(255));
    QCOMPARE(NumerKasy(""), std::nullopt);
    QCOMPARE(NumerKasy("7a"), std::nullopt);
    QTemporaryDir dir;
    const QString zadanie = dir.filePath(kPlikWejsciowy);
    QVERIFY(UtworzPlikWejsciowy(zadanie, 5));
    QFile f(zadanie);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("#5\r\n#\r\n#\r\n"));
    QVERIFY(!UtworzPlikWejsciowy(dir.filePath("brak/" + kPlikWejsciowy), 5));
}

// Every reader of a named file refuses, at once, what is no plain file of a sane size: a FIFO
// would block it for good, /dev/zero or a huge file keep it reading.
void TestPlikDefinicji::tylkoZwyklePliki_data() {
    QTest::addColumn<QString>("czytnik");
    QTest::addColumn<QString>("rodzaj");
    QTest::addColumn<QString>("powod");
    for (const char* czytnik : {"definicje", "numer kasy", "lista kas"}) {
        QTest::addRow("%s, FIFO", czytnik) << czytnik << "fifo"
                                           << "potok (FIFO)";
        QTest::addRow("%s, /dev/zero", czytnik) << czytnik << "zero"
                                                << "urządzenie";
        QTest::addRow("%s, 2 MB", czytnik) << czytnik << "duzy"
                                           << "za duży";
    }
    QTest::newRow("definicje, folder") << "definicje"
                                       << "folder"
                                       << "pod tą nazwą jest folder";
}

void TestPlikDefinicji::tylkoZwyklePliki() {
    QFETCH(QString, czytnik);
    QFETCH(QString, rodzaj);
    QFETCH(QString, powod);
    QTemporaryDir dir;
    const QString plik = dir.filePath("KONFIG.TXT");
    QFile f(plik);
    if (rodzaj == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(plik).constData(), 0600), 0);
    else if (rodzaj == "zero")
        QVERIFY(QFile::link("/dev/zero", plik));
    else if (rodzaj == "folder")
        QVERIFY(QDir(dir.path()).mkdir("KONFIG.TXT"));
    else
        QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(2 << 20));
    try {
        QString nr;
        if (czytnik == "definicje")
            CzytajPlikDefinicji(plik, TabelaKlawiszy{});
        else if (czytnik == "numer kasy")
            WczytajNrKasy(nr, dir.path());
        else
            NumeryKasZKonfiguracji(plik);
        QFAIL("the file was read");
    } catch (const BladProgramu& e) {
        QVERIFY2(e.komunikat().contains(powod) && e.komunikat().contains(plik),
                 qPrintable(e.komunikat()));
    }
}

QTEST_GUILESS_MAIN(TestPlikDefinicji)
#include "test_plik_definicji.moc"
