// The files the program hands to the key-definition library (read request, delete list,
// key-definition file) and the files the library writes back (key definitions, goods,
// payments, currencies).

#include "PomocKavrel.h"
#include "link/kavrel/PlikiKasy.h"
#include "link/kavrel/Wspolne.h"

#include <QtTest>

using namespace pixo;
using namespace pixo::kavrel;
using pomoc::zapisz;

namespace {

bool rowne(const DefinicjaNaKasie& a, const DefinicjaNaKasie& b) {
    return a.kod == b.kod && a.typ == b.typ && std::equal(a.pola, a.pola + 4, b.pola);
}

// The delete list exactly as the program writes it.
QByteArray listaKasowaniaProgramu(const char* numer) {
    QByteArray t = QByteArray("#") + numer + "\r\n#\r\n#\r\n";
    for (int k : {176, 177, 178, 179, 180, 164, 38, 143, 37, 168, 41,  45,  43,  61,
                  65,  66,  67,  68,  69,  71,  72, 73,  74, 214, 215, 216, 217, 218})
        t += "$" + QByteArray::number(k) + "\r\n";
    return t;
}

} // namespace

class TestPliki : public QObject {
    Q_OBJECT

private slots:
    // ---- read request ----

    void zadanie_data() {
        QTest::addColumn<QByteArray>("tresc");
        QTest::addColumn<int>("kod");
        QTest::addColumn<int>("nr");
        QTest::newRow("as the program writes it") << QByteArray("#5\r\n#\r\n#\r\n") << 0 << 5;
        QTest::newRow("leading zero") << QByteArray("#05\r\n#\r\n#\r\n") << 0 << 5;
        QTest::newRow("99") << QByteArray("#99\r\n#\r\n#\r\n") << 0 << 99;
        QTest::newRow("blanks, LF, no final end") << QByteArray("# 7 \n#\n#") << 0 << 7;
        QTest::newRow("empty lines at the end") << QByteArray("#1\r\n#\r\n#\r\n\r\n\n") << 0 << 1;
        QTest::newRow("empty") << QByteArray() << 10 << 0;
        QTest::newRow("only empty lines") << QByteArray("\r\n\r\n\r\n") << 10 << 0;
        QTest::newRow("two lines") << QByteArray("#1\r\n#\r\n") << 10 << 0;
        QTest::newRow("no number") << QByteArray("#\r\n#\r\n#\r\n") << 19 << 0;
        QTest::newRow("zero") << QByteArray("#0\r\n#\r\n#\r\n") << 19 << 0;
        QTest::newRow("100") << QByteArray("#100\r\n#\r\n#\r\n") << 19 << 0;
        QTest::newRow("negative") << QByteArray("#-1\r\n#\r\n#\r\n") << 19 << 0;
        QTest::newRow("letters") << QByteArray("#ab\r\n#\r\n#\r\n") << 19 << 0;
        QTest::newRow("huge") << QByteArray("#99999999999999999999999\r\n#\r\n#\r\n") << 19 << 0;
        QTest::newRow("no #") << QByteArray("5\r\n#\r\n#\r\n") << 11 << 0;
        QTest::newRow("second line") << QByteArray("#5\r\nx\r\n#\r\n") << 11 << 0;
        QTest::newRow("empty third line") << QByteArray("#5\r\n#\r\n\r\n$176") << 11 << 0;
        QTest::newRow("more lines") << QByteArray("#5\r\n#\r\n#\r\n$176\t0\r\n") << 11 << 0;
        QTest::newRow("NUL") << QByteArray("#5\r\n#\0\r\n#\r\n", 11) << 11 << 0;
        QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n") << 11 << 0;
        QTest::newRow("line of 256")
            << QByteArray("#5") + QByteArray(254, ' ') + "\r\n#\r\n#" << 11 << 0;
        QTest::newRow("line of 255")
            << QByteArray("#5") + QByteArray(253, ' ') + "\r\n#\r\n#" << 0 << 5;
        QTest::newRow("over 64 KiB")
            << QByteArray("#5\r\n#\r\n#\r\n") + QByteArray(70000, '\n') << 11 << 0;
    }
    void zadanie() {
        QFETCH(QByteArray, tresc);
        QFETCH(int, kod);
        QFETCH(int, nr);
        pomoc::FolderRoboczy f;
        zapisz("123.@#$", tresc);
        int wynik = -1;
        QCOMPARE(int(czytajZadanie("123.@#$", wynik)), kod);
        if (kod == 0)
            QCOMPARE(wynik, nr);
    }

    void zadanieNieDoOtwarcia() {
        pomoc::FolderRoboczy f;
        int nr = 0;
        QCOMPARE(czytajZadanie("123.@#$", nr), 6);
        QVERIFY(QDir().mkdir("folder"));
        QCOMPARE(czytajZadanie("folder", nr), 6);
        QCOMPARE(czytajZadanie("/dev/zero", nr), 6); // no regular file: never read forever
    }

    // ---- delete list ----

    void listaKasowaniaProgramuDaje28Kodow() {
        pomoc::FolderRoboczy f;
        zapisz("tmp.plk", listaKasowaniaProgramu("12"));
        int nr = 0;
        std::vector<std::uint8_t> kody;
        QCOMPARE(czytajListeKasowania("tmp.plk", nr, kody), 0);
        QCOMPARE(nr, 12);
        QCOMPARE(kody.size(), std::size_t(28));
        QCOMPARE(kody.front(), std::uint8_t(176));
        QCOMPARE(kody[5], std::uint8_t(164));
        QCOMPARE(kody[14], std::uint8_t(65));
        QCOMPARE(kody.back(), std::uint8_t(218));
    }

    void listaKasowania_data() {
        QTest::addColumn<QByteArray>("tresc");
        QTest::addColumn<int>("kod");
        QTest::addColumn<int>("ile");
        const QByteArray h = "#1\r\n#\r\n#\r\n";
        QTest::newRow("header only") << h << 0 << 0;
        QTest::newRow("a key twice") << h + "$176\r\n$65\r\n$176\r\n" << 0 << 2;
        QTest::newRow("empty register number (no dialog save)")
            << listaKasowaniaProgramu("") << 19 << 0;
        QTest::newRow("unknown key") << h + "$176\r\n$70\r\n" << 12 << 0;
        QTest::newRow("key above 255") << h + "$432\r\n" << 12 << 0;
        QTest::newRow("key far too big") << h + "$99999999999999999999\r\n" << 12 << 0;
        QTest::newRow("with a type") << h + "$176\t0\r\n" << 11 << 0;
        QTest::newRow("no $") << h + "176\r\n" << 11 << 0;
        QTest::newRow("$ alone") << h + "$\r\n" << 11 << 0;
        QTest::newRow("empty line inside") << h + "$176\r\n\r\n$177\r\n" << 11 << 0;
        QTest::newRow("letters") << h + "$A\r\n" << 11 << 0;
        QTest::newRow("no header") << QByteArray("$176\r\n$177\r\n$178\r\n") << 11 << 0;
    }
    void listaKasowania() {
        QFETCH(QByteArray, tresc);
        QFETCH(int, kod);
        QFETCH(int, ile);
        pomoc::FolderRoboczy f;
        zapisz("tmp.plk", tresc);
        int nr = 0;
        std::vector<std::uint8_t> kody{1, 2, 3};
        QCOMPARE(int(czytajListeKasowania("tmp.plk", nr, kody)), kod);
        if (kod == 0)
            QCOMPARE(int(kody.size()), ile);
    }

    // ---- key-definition lines ----

    void liniaDefinicjiCzytanaIZapisana_data() {
        QTest::addColumn<QByteArray>("linia");
        QTest::addColumn<int>("kod");
        // Lines the program's writer produces, the worked example included.
        QTest::newRow("goods") << QByteArray("$176\t1\t12\t0\t1\t0") << 0;
        QTest::newRow("function with TAB") << QByteArray("$65\t2\t5\t") << 0;
        QTest::newRow("function without TAB") << QByteArray("$65\t2\t5") << 0;
        QTest::newRow("payment") << QByteArray("$164\t3\t1\t0\t0") << 0;
        QTest::newRow("undefined") << QByteArray("$214\t0") << 0;
        QTest::newRow("percent") << QByteArray("$177\t4\t0\t10\t1\t0") << 0;
        QTest::newRow("amount markup") << QByteArray("$66\t5\t1\t250\t0\t1") << 0;
        QTest::newRow("currency") << QByteArray("$38\t3\t2\t1000\t1") << 0;
        QTest::newRow("amount above 32 bits")
            << QByteArray("$38\t3\t8\t9223372036854775807\t1") << 0;
        QTest::newRow("scope 0") << QByteArray("$177\t4\t1\t99\t0\t0") << 0;
        QTest::newRow("PLU 3071") << QByteArray("$74\t1\t3071\t1\t1\t1") << 0;
        QTest::newRow("function 40") << QByteArray("$176\t2\t40\t") << 0;
        // Values a register does not take.
        QTest::newRow("function 41") << QByteArray("$176\t2\t41\t") << 12;
        QTest::newRow("function 0") << QByteArray("$176\t2\t0\t") << 12;
        QTest::newRow("payment 8") << QByteArray("$176\t3\t8\t0\t0") << 12;
        QTest::newRow("currency 9") << QByteArray("$176\t3\t9\t0\t1") << 12;
        QTest::newRow("payment 0") << QByteArray("$176\t3\t0\t0\t0") << 12;
        QTest::newRow("negative amount") << QByteArray("$176\t3\t1\t-1\t0") << 12;
        QTest::newRow("payment kind 2") << QByteArray("$176\t3\t1\t0\t2") << 12;
        QTest::newRow("amount beyond 64 bits")
            << QByteArray("$176\t3\t1\t9223372036854775808\t0") << 12;
        QTest::newRow("PLU 0") << QByteArray("$176\t1\t0\t0\t0\t0") << 12;
        QTest::newRow("PLU 3072") << QByteArray("$176\t1\t3072\t0\t0\t0") << 12;
        QTest::newRow("goods flag 2") << QByteArray("$176\t1\t1\t0\t2\t0") << 12;
        QTest::newRow("percent 0") << QByteArray("$176\t4\t0\t0\t1\t0") << 12;
        QTest::newRow("percent 100") << QByteArray("$176\t4\t0\t100\t1\t0") << 12;
        QTest::newRow("discount variant 2") << QByteArray("$176\t4\t2\t10\t1\t0") << 12;
        QTest::newRow("scope bit 2") << QByteArray("$176\t5\t0\t10\t2\t0") << 12;
        QTest::newRow("negative discount") << QByteArray("$176\t5\t0\t-10\t1\t0") << 12;
        QTest::newRow("type 6") << QByteArray("$176\t6") << 12;
        QTest::newRow("type -1") << QByteArray("$176\t-1") << 12;
        QTest::newRow("key 999") << QByteArray("$999\t0") << 12;
        QTest::newRow("key 70") << QByteArray("$70\t0") << 12;
        // Lines not of the form.
        QTest::newRow("empty") << QByteArray("") << 11;
        QTest::newRow("# marker") << QByteArray("#176\t0") << 11;
        QTest::newRow("$ alone") << QByteArray("$\t0") << 11;
        QTest::newRow("no type") << QByteArray("$176") << 11;
        QTest::newRow("empty type") << QByteArray("$176\t") << 11;
        QTest::newRow("type letter") << QByteArray("$176\tx") << 11;
        QTest::newRow("goods short") << QByteArray("$176\t1\t12\t0\t1") << 11;
        QTest::newRow("function empty") << QByteArray("$176\t2\t\t") << 11;
        QTest::newRow("goods x") << QByteArray("$999\t1\tx") << 12; // unknown key seen first
        QTest::newRow("goods x known key") << QByteArray("$176\t1\tx\t0\t0\t0") << 11;
        QTest::newRow("plus sign") << QByteArray("$176\t2\t+5\t") << 11;
        QTest::newRow("blank in number") << QByteArray("$176\t2\t 5\t") << 11;
        QTest::newRow("decimal amount") << QByteArray("$176\t3\t1\t2,50\t0") << 11;
        QTest::newRow("extra field") << QByteArray("$176\t0\t5") << 11;
        QTest::newRow("extra after function") << QByteArray("$176\t2\t5\tx") << 11;
        QTest::newRow("form beats range") << QByteArray("$176\t1\t99999\tx\t0\t0") << 11;
    }
    void liniaDefinicjiCzytanaIZapisana() {
        QFETCH(QByteArray, linia);
        QFETCH(int, kod);
        DefinicjaNaKasie d = definicjaNaKasie(1, 1, 1, 1, 1, 1);
        QCOMPARE(int(czytajLinieDefinicji(linia.toStdString(), d)), kod);
        if (kod == 0) {
            QCOMPARE(int(sprawdzDefinicje(d)), 0);
            // Written back as the program's writer would write it.
            QByteArray oczekiwana = linia;
            if (linia == "$65\t2\t5")
                oczekiwana += "\t";
            QCOMPARE(QByteArray::fromStdString(liniaDefinicji(d)), oczekiwana);
        } else {
            QVERIFY(rowne(d, definicjaNaKasie(1, 1, 1, 1, 1, 1))); // untouched
        }
    }

    void plikDefinicjiPrzykladowy() {
        pomoc::FolderRoboczy f;
        zapisz("klawisz.txt", "#1\r\n#\r\n#\r\n"
                              "$176\t1\t12\t0\t1\t0\r\n"
                              "$65\t2\t5\t\r\n"
                              "$164\t3\t1\t0\t0\r\n"
                              "$214\t0\r\n"
                              "$177\t4\t0\t10\t1\t0\r\n"
                              "$66\t5\t1\t250\t0\t1\r\n"
                              "$38\t3\t2\t1000\t1\r\n");
        int nr = 0;
        std::vector<DefinicjaNaKasie> d;
        QCOMPARE(czytajPlikDefinicji("klawisz.txt", nr, d), 0);
        QCOMPARE(nr, 1);
        QCOMPARE(d.size(), std::size_t(7));
        QVERIFY(rowne(d[0], definicjaNaKasie(176, 1, 12, 0, 1, 0)));
        QVERIFY(rowne(d[1], definicjaNaKasie(65, 2, 5)));
        QVERIFY(rowne(d[2], definicjaNaKasie(164, 3, 1, 0, 0)));
        QVERIFY(rowne(d[3], definicjaNaKasie(214, 0)));
        QVERIFY(rowne(d[4], definicjaNaKasie(177, 4, 0, 10, 1, 0)));
        QVERIFY(rowne(d[5], definicjaNaKasie(66, 5, 1, 250, 0, 1)));
        QVERIFY(rowne(d[6], definicjaNaKasie(38, 3, 2, 1000, 1)));
    }

    void plikDefinicji_data() {
        QTest::addColumn<QByteArray>("tresc");
        QTest::addColumn<int>("kod");
        const QByteArray h = "#01\r\n#\r\n#\r\n";
        QTest::newRow("header only") << h << 0;
        QTest::newRow("key twice") << h + "$176\t0\r\n$65\t0\r\n$176\t2\t1\t\r\n" << 12;
        QTest::newRow("bad fifth line") << h + "$176\t0\r\n$65\t2\t41\t\r\n" << 12;
        QTest::newRow("empty line inside") << h + "$176\t0\r\n\r\n$65\t0\r\n" << 11;
        QTest::newRow("empty") << QByteArray() << 10;
        QTest::newRow("header cut") << QByteArray("#01\r\n#\r\n") << 10;
        QTest::newRow("no register number") << QByteArray("#\r\n#\r\n#\r\n$176\t0\r\n") << 19;
        QTest::newRow("binary") << h + QByteArray("$176\t0\r\n\xff\x00\x01", 11) << 11;
        QTest::newRow("long line") << h + "$176\t0" + QByteArray(300, '\t') << 11;
    }
    void plikDefinicji() {
        QFETCH(QByteArray, tresc);
        QFETCH(int, kod);
        pomoc::FolderRoboczy f;
        zapisz("klawisz.txt", tresc);
        int nr = 0;
        std::vector<DefinicjaNaKasie> d{definicjaNaKasie(176, 0)};
        QCOMPARE(int(czytajPlikDefinicji("klawisz.txt", nr, d)), kod);
        if (kod == 0)
            QVERIFY(d.empty());
        else
            QCOMPARE(d.size(), std::size_t(1)); // untouched
    }

    // ---- output files ----

    void tekstDefinicjiWKolejnosciZapisu() {
        std::string t;
        QCOMPARE(
            tekstDefinicji(7,
                           {definicjaNaKasie(61, 2, 40), definicjaNaKasie(176, 1, 3071, 1, 0, 1),
                            definicjaNaKasie(214, 3, 8, 5, 1), definicjaNaKasie(65, 4, 1, 99, 1, 1),
                            definicjaNaKasie(143, 5, 0, 1, 0, 0)},
                           t),
            0);
        QByteArray oczekiwany = "#7\r\n#\r\n#\r\n"
                                "$176\t1\t3071\t1\t0\t1\r\n"
                                "$65\t4\t1\t99\t1\t1\r\n"
                                "$164\t0\r\n"
                                "$214\t3\t8\t5\t1\r\n"
                                "$177\t0\r\n$66\t0\r\n$38\t0\r\n$215\t0\r\n"
                                "$178\t0\r\n$67\t0\r\n$143\t5\t0\t1\t0\t0\r\n$216\t0\r\n"
                                "$179\t0\r\n$68\t0\r\n$37\t0\r\n$217\t0\r\n"
                                "$180\t0\r\n$69\t0\r\n$168\t0\r\n$218\t0\r\n"
                                "$71\t0\r\n$41\t0\r\n"
                                "$72\t0\r\n$45\t0\r\n"
                                "$73\t0\r\n$43\t0\r\n"
                                "$74\t0\r\n$61\t2\t40\t\r\n";
        QCOMPARE(QByteArray::fromStdString(t), oczekiwany);
        QCOMPARE(QByteArray::fromStdString(t).count("\r\n"), 31);
    }

    void tekstDefinicjiOdrzucaZlaOdpowiedz_data() {
        QTest::addColumn<int>("przypadek");
        QTest::newRow("key twice") << 0;
        QTest::newRow("unknown key") << 1;
        QTest::newRow("function 41") << 2;
        QTest::newRow("type 9") << 3;
    }
    void tekstDefinicjiOdrzucaZlaOdpowiedz() {
        QFETCH(int, przypadek);
        const std::vector<std::vector<DefinicjaNaKasie>> przypadki = {
            {definicjaNaKasie(176, 0), definicjaNaKasie(176, 2, 1)},
            {definicjaNaKasie(70, 0)},
            {definicjaNaKasie(176, 2, 41)},
            {definicjaNaKasie(176, 9)},
        };
        std::string t = "stare";
        QCOMPARE(tekstDefinicji(1, przypadki[static_cast<std::size_t>(przypadek)], t), 23);
        QCOMPARE(t, std::string("stare"));
    }

    void tekstTowarowPosortowanyZBajtami852() {
        std::string t;
        const std::string nazwa852 = "\xa5\x86\xa9\x88\xe4\xa2\x98\xab\xbe"; // ąćęłńóśźż
        QCOMPARE(kavrel::tekstTowarow(
                     3, {{12, "MLEKO"}, {3071, nazwa852}, {1, "CHLEB 0,5 KG"}, {5, ""}}, t),
                 0);
        const QByteArray oczekiwany = QByteArray("#3\r\n#\r\n#\r\n"
                                                 "$1\tCHLEB 0,5 KG\r\n"
                                                 "$12\tMLEKO\r\n"
                                                 "$3071\t") +
                                      QByteArray::fromStdString(nazwa852) + "\r\n";
        QCOMPARE(QByteArray::fromStdString(t), oczekiwany);

        QCOMPARE(kavrel::tekstTowarow(1, {}, t), 0);
        QCOMPARE(QByteArray::fromStdString(t), QByteArray("#1\r\n#\r\n#\r\n"));
        // The longest name that still fits a 255-character line.
        QCOMPARE(kavrel::tekstTowarow(1, {{3071, std::string(249, 'X')}}, t), 0);
    }

    void tekstTowarowOdrzucaZlaOdpowiedz_data() {
        QTest::addColumn<int>("plu");
        QTest::addColumn<QByteArray>("nazwa");
        QTest::newRow("PLU 0") << 0 << QByteArray("A");
        QTest::newRow("PLU 3072") << 3072 << QByteArray("A");
        QTest::newRow("TAB in name") << 7 << QByteArray("A\tB");
        QTest::newRow("CR LF in name") << 7 << QByteArray("A\r\nB");
        QTest::newRow("NUL in name") << 7 << QByteArray("A\0B", 3);
        QTest::newRow("line too long") << 3071 << QByteArray(250, 'X');
        QTest::newRow("PLU twice") << 1 << QByteArray("A");
    }
    void tekstTowarowOdrzucaZlaOdpowiedz() {
        QFETCH(int, plu);
        QFETCH(QByteArray, nazwa);
        std::string t = "stare";
        const std::vector<TowarNaKasie> towary{
            {1, "PIERWSZY"}, {static_cast<std::uint16_t>(plu), nazwa.toStdString()}};
        QCOMPARE(kavrel::tekstTowarow(1, towary, t), 23);
        QCOMPARE(t, std::string("stare"));
    }

    void tekstPlatnosciPoleDrugie() {
        std::string t;
        QCOMPARE(tekstPlatnosci(2, {"KARTA", "", "BON", "KREDYT", "PRZELEW", "INNA"}, t), 0);
        QCOMPARE(QByteArray::fromStdString(t), QByteArray("#2\r\n#\r\n#\r\n"
                                                          "$1\tKARTA\r\n$2\t\r\n$3\tBON\r\n"
                                                          "$4\tKREDYT\r\n$5\tPRZELEW\r\n"
                                                          "$6\tINNA\r\n"));
        const std::vector<std::string_view> p = pola("$4\tKREDYT");
        QCOMPARE(p[1], std::string_view("KREDYT"));
        QCOMPARE(tekstPlatnosci(2, {"A", "B", "C", "D", "E"}, t), 23);
        QCOMPARE(tekstPlatnosci(2, {"A", "B", "C", "D", "E", "F", "G"}, t), 23);
        QCOMPARE(tekstPlatnosci(2, {"A", "B", "C", "D\tX", "E", "F"}, t), 23);
    }

    void tekstWalutPoleTrzecie() {
        std::string t;
        QCOMPARE(tekstWalut(1, {"EUR", "USD", "GBP", "CHF", "CZK", "NOK", "SEK", "D\x8eK"}, t), 0);
        QCOMPARE(QByteArray::fromStdString(t),
                 QByteArray("#1\r\n#\r\n#\r\n"
                            "$1\t1\tEUR\r\n$2\t2\tUSD\r\n$3\t3\tGBP\r\n$4\t4\tCHF\r\n"
                            "$5\t5\tCZK\r\n$6\t6\tNOK\r\n$7\t7\tSEK\r\n$8\t8\tD\x8eK\r\n"));
        QCOMPARE(tekstWalut(1, {"EUR"}, t), 23);
        QCOMPARE(tekstWalut(1, {"EUR", "USD", "GBP", "CHF", "CZK", "NOK", "SEK", "\x7f"}, t), 23);
    }

    // ---- any bytes ----

    // Valid files damaged at random: every outcome is one of the input codes, and whatever is
    // accepted is something a register may hold and is written back to the same definitions.
    void uszkodzonePlikiDefinicji() {
        pomoc::FolderRoboczy f;
        const QByteArray wzor = "#01\r\n#\r\n#\r\n"
                                "$176\t1\t12\t0\t1\t0\r\n$65\t2\t5\t\r\n$164\t3\t1\t0\t0\r\n"
                                "$214\t0\r\n$177\t4\t0\t10\t1\t0\r\n$66\t5\t1\t250\t0\t1\r\n"
                                "$38\t3\t2\t1000\t1\r\n";
        const char wstawki[] = {'\t', '\r', '\n', '\0', '0', '9', '-', '$', '#', ' ', '\xff'};
        QRandomGenerator los(20240611);
        QMap<int, int> kody;
        for (int i = 0; i < 3000; ++i) {
            QByteArray t = wzor;
            const int zmian = 1 + los.bounded(4);
            for (int z = 0; z < zmian && !t.isEmpty(); ++z) {
                const int gdzie = los.bounded(t.size());
                switch (los.bounded(5)) {
                case 0:
                    t[gdzie] = wstawki[los.bounded(int(sizeof wstawki))];
                    break;
                case 1:
                    t.insert(gdzie, wstawki[los.bounded(int(sizeof wstawki))]);
                    break;
                case 2:
                    t.remove(gdzie, 1 + los.bounded(8));
                    break;
                case 3:
                    t.truncate(gdzie);
                    break;
                case 4:
                    t.insert(gdzie, QByteArray(los.bounded(300), '7'));
                    break;
                }
            }
            zapisz("klawisz.txt", t);
            int nr = 0;
            std::vector<DefinicjaNaKasie> d;
            const int k = czytajPlikDefinicji("klawisz.txt", nr, d);
            ++kody[k];
            QVERIFY2(QList<int>({0, 10, 11, 12, 19}).contains(k), t.toHex().constData());
            if (k != 0)
                continue;
            QVERIFY(nr >= 1 && nr <= 99);
            for (const DefinicjaNaKasie& x : d) {
                QCOMPARE(int(sprawdzDefinicje(x)), 0);
                DefinicjaNaKasie y;
                QCOMPARE(int(czytajLinieDefinicji(liniaDefinicji(x), y)), 0);
                QVERIFY(rowne(x, y));
            }
        }
        // The damage reached every kind of outcome, not only the first check.
        for (int k : {0, 10, 11, 12, 19})
            QVERIFY2(kody.value(k) > 0, qPrintable(QString::number(k)));
    }

    // ---- buffers ----

    void buforBezZeraNieCzytanyZaKoncem() {
        pomoc::BuforNaGranicy b;
        std::string s = "x";
        QVERIFY(!tekstZBufora(b.dane(), s)); // 256 bytes, no zero: refused, no read past
        b.dane()[255] = '\0';
        QVERIFY(tekstZBufora(b.dane(), s));
        QCOMPARE(s.size(), std::size_t(255));
        QVERIFY(!tekstZBufora(nullptr, s));
    }

    void nazwyZastrzezoneINazwyBezWielkosci() {
        QVERIFY(nazwaZastrzezona("KONFIG.TXT"));
        QVERIFY(nazwaZastrzezona("konfig.txt"));
        QVERIFY(nazwaZastrzezona("Raport.Txt"));
        QVERIFY(nazwaZastrzezona("/tmp/x/raport.txt"));
        QVERIFY(!nazwaZastrzezona("konfig.txt.bak"));
        QVERIFY(!nazwaZastrzezona("MYKONFIG.TXT"));
        QVERIFY(!nazwaZastrzezona("KONFIG.TXT/inny"));

        pomoc::FolderRoboczy f;
        zapisz("Klawisz.TXT", "x");
        QCOMPARE(plikBezWielkosci("klawisz.txt"), std::string("Klawisz.TXT"));
        QCOMPARE(plikBezWielkosci("./KLAWISZ.txt"), std::string("./Klawisz.TXT"));
        QCOMPARE(plikBezWielkosci("nowy.txt"), std::string("nowy.txt"));
        QVERIFY(tenSamPlik("klawisz.txt", "KLAWISZ.TXT"));
        QVERIFY(tenSamPlik("a.txt", "./A.TXT")); // neither exists yet
        QVERIFY(tenSamPlik("klawisz.txt", f.sciezka().toStdString() + "/klawisz.txt"));
        QVERIFY(!tenSamPlik("klawisz.txt", "towary.txt"));
        QVERIFY(QDir().mkdir("sub"));
        QVERIFY(!tenSamPlik("klawisz.txt", "sub/klawisz.txt"));
    }
};

QTEST_GUILESS_MAIN(TestPliki)
#include "test_kavrel_pliki.moc"
