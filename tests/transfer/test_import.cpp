// The start-up import on the real main window: the list files' rules against a fake register
// link, the whole import against the emulator, and an error escaping the import.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <sys/stat.h>

#include "app/Program.h"
#include "app/TAplikacja.h"
#include "app/TForm3.h"
#include "comm/FalszyweLacze.h"
#include "core/okno/Klepsydra.h"
#include "core/okno/OknoPostepu.h"
#include "core/okno/SkryptDialogi.h"
#include "keys/StanProgramu.h"
#include "transfer/KodyBledow.h"
#include "transfer/okno/OczekiwanieZKlepsydra.h"
#include "ui_TForm3.h"
#include "wspolne/EmulatorTestowy.h"

namespace {

const QByteArray H = "#1\r\n#\r\n#\r\n";
const QString kPytanie = QStringLiteral(
    "Czy odczytać bazę towarową, płatności, waluty i  definicje klawiszy z podłączonej kasy?");

struct Okno {
    StanProgramu stan;
    SkryptDialogi dialogi;
    TForm3 forma{stan, dialogi};
    Ui::TForm3* ui = forma.ui;

    // "t12" the goods item of PLU 12, "p2" payment item 2, "w1" the item of currency 1.
    QString pozycja(const QString& co) const {
        const int n = co.mid(1).toInt();
        const QComboBox* lista = co[0] == 't'   ? ui->cbTowary
                                 : co[0] == 'p' ? ui->cbPlatnosc
                                                : ui->cbWaluta;
        return lista->itemText(co[0] == 'p' ? n : n - 1);
    }
};

} // namespace

class TestImport : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void plikiList_data();
    void plikiList();
    void poOdczycieZKasy_data();
    void poOdczycieZKasy();
    void zEmulatorem();
    void bladWImporcie_data();
    void bladWImporcie();
    void postepDlugiegoEksportu();

private:
    std::unique_ptr<FolderZEmulatorem> m_folder;
};

void TestImport::init() {
    m_folder = std::make_unique<FolderZEmulatorem>("$01\tcom1:9600:mux0:1\t1\r\n");
}

void TestImport::cleanup() {
    m_folder.reset();
}

// The files on disk before the import ("-" none); on "Tak" the exports give `wyniki` in order
// (and leave the files as they are). `oczekiwane`: "t12=text" list items (see Okno::pozycja),
// "+name" / "-name" a file there or not, "=Call(file)" the register calls made, in order.
void TestImport::plikiList_data() {
    QTest::addColumn<QByteArray>("towary");
    QTest::addColumn<QByteArray>("platnosci");
    QTest::addColumn<QByteArray>("waluty");
    QTest::addColumn<QList<int>>("wyniki"); // empty: the answer is "Nie"
    QTest::addColumn<QStringList>("oczekiwane");
    QTest::newRow("nie, stare pliki")
        << H + "$12\tCHLEB\r\n1\tMLEKO\r\n"
        << H + "$1\tKARTA\r\n"
        << H + "$1\t1\tEUR\r\n"
        << QList<int>{}
        << QStringList{"t12=012 CHLEB", "t1=001 MLEKO", "t2=002 ", "p1=KARTA", "w1=1 EUR", "="};
    QTest::newRow("PLU 0 i 3072") << H + "0\tZERO\r\n3072\tZA DUZO\r\n5\tPIEC\r\n"
                                  << QByteArray("-") << QByteArray("-") << QList<int>{}
                                  << QStringList{"t5=005 PIEC", "t3071=3071 "};
    QTest::newRow("pusta nazwa konczy") << H + "5\tPIEC\r\n6\t\r\n7\tSIEDEM\r\n"
                                        << QByteArray("-") << QByteArray("-") << QList<int>{}
                                        << QStringList{"t5=005 PIEC", "t7=007 "};
    QTest::newRow("numery z odstepami i bledne")
        << H + " 8 \tOSIEM\r\nx\tX\r\n4294967305\tDUZO\r\n9\t" + QByteArray(300, 'A')
        << QByteArray("-") << QByteArray("-") << QList<int>{}
        << QStringList{"t8=008 OSIEM", "t9=009 " + QString(253, 'A')};
    QTest::newRow("pusta platnosc")
        << QByteArray("-") << H + "$1\tA\r\n$2\t\r\n$3\tC\r\n"
        << QByteArray("-") << QList<int>{} << QStringList{"p1=A", "p2=PŁATNOŚĆ  2", "p3=C"};
    QTest::newRow("852 tylko w towarach")
        << QByteArray("#\r#\r#\r1\t\xa4\x9d\r") << QByteArray("#\n#\n#\n$1\t\xa3\n")
        << H + "1\t1\t\r\n2\tX\tUSD" << QList<int>{}
        << QStringList{"t1=001 ĄŁ", "p1=Ł", "w1=01", "w2=2 USD"};
    QTest::newRow("drugi eksport zawodzi") << H + "3\tNOWY\r\n"
                                           << H + "$1\tSTARA\r\n"
                                           << H + "1\t1\tEUR\r\n"
                                           << QList<int>{0, 24}
                                           << QStringList{"+towary.txt",
                                                          "+plat.txt",
                                                          "+waluta.txt",
                                                          "t3=003 NOWY",
                                                          "p1=STARA",
                                                          "w1=1 EUR",
                                                          "=TowarMax(towary.txt),OPlat(plat.txt)"};
}

void TestImport::plikiList() {
    QFETCH(QByteArray, towary);
    QFETCH(QByteArray, platnosci);
    QFETCH(QByteArray, waluty);
    QFETCH(QList<int>, wyniki);
    QFETCH(QStringList, oczekiwane);
    for (const auto& [nazwa, tresc] :
         {std::pair{"towary.txt", towary}, std::pair{"plat.txt", platnosci},
          std::pair{"waluta.txt", waluty}})
        if (tresc != "-")
            zapiszPlik(nazwa, tresc);
    Okno o;
    FalszyweLacze lacze;
    lacze.operacja = [&](const QString& nazwa, const QString&) -> std::uint8_t {
        const int i = QStringList{"TowarMax", "OPlat", "OWaluta"}.indexOf(nazwa);
        return i >= 0 && i < wyniki.size() ? std::uint8_t(wyniki[i]) : 255;
    };
    o.forma.ustawKomunikacje({}, lacze);
    o.dialogi.odpowiedzi = {wyniki.isEmpty() ? Dialogi::Nie : Dialogi::Tak};
    o.forma.importStartowy();
    QCOMPARE(o.dialogi.pokazane.at(0).komunikat.tekst, kPytanie);
    for (const QString& c : oczekiwane) {
        if (c.startsWith('+') || c.startsWith('-'))
            QVERIFY2(QFile::exists(c.mid(1)) == c.startsWith('+'), qPrintable(c));
        else if (c.startsWith('='))
            QCOMPARE(lacze.wywolania.join(','), c.mid(1));
        else
            QCOMPARE(o.pozycja(c.section('=', 0, 0)), c.section('=', 1));
    }
    QCOMPARE(o.ui->cbTowary->currentIndex(), 0);
    QVERIFY(!QFile::exists("123.@#$"));
    if (!wyniki.isEmpty())
        QCOMPARE(o.dialogi.ostatni().tekst, TekstBledu(std::uint8_t(wyniki.last())));
}

// After "Tak" the lists and the key definitions come from the register, their files in any
// letter case; the panel shows direct F1's own goods item and the labels the register's
// payment and currency names.
void TestImport::poOdczycieZKasy_data() {
    QTest::addColumn<QStringList>("nazwy"); // goods, payments, currencies, key definitions
    QTest::newRow("male litery") << QStringList{"towary.txt", "plat.txt", "waluta.txt",
                                                "klawisz.txt"};
    QTest::newRow("wielkie litery")
        << QStringList{"TOWARY.TXT", "Plat.txt", "WALUTA.txt", "KLAWISZ.TXT"};
}

void TestImport::poOdczycieZKasy() {
    QFETCH(QStringList, nazwy);
    zapiszPlik(nazwy[0], H + "$12\tCHLEB\r\n");
    zapiszPlik(nazwy[1], H + "$1\tKARTA\r\n");
    zapiszPlik(nazwy[2], H + "$1\t1\tEUR\r\n");
    zapiszPlik(nazwy[3], H + "$176\t1\t12\t0\t0\t0\r\n$177\t3\t2\t0\t0\r\n$178\t3\t1\t0\t1\r\n");
    Okno o;
    FalszyweLacze lacze;
    lacze.operacja = [](const QString&, const QString&) -> std::uint8_t { return 0; };
    o.forma.ustawKomunikacje({}, lacze);
    o.dialogi.odpowiedzi = {Dialogi::Tak};
    o.forma.importStartowy();
    QCOMPARE(o.dialogi.teksty(), QStringList{kPytanie});
    QCOMPARE(o.ui->cbTowary->currentText(), QStringLiteral("012 CHLEB"));
    QCOMPARE(o.ui->edit0->text(), QStringLiteral("CHLEB"));
    QCOMPARE(o.ui->Edit1->text(), QStringLiteral("KARTA"));
    QCOMPARE(o.ui->Edit2->text(), QStringLiteral("1 EUR"));
}

void TestImport::zEmulatorem() {
    QVERIFY(m_folder->uruchom());
    Okno o;
    Klepsydra klepsydra;
    BibliotekiKasy lacze(oczekiwanieZKlepsydra(klepsydra));
    o.forma.ustawKomunikacje({}, lacze);
    TDefKlawisza funkcja;
    funkcja.Rodzaj = RodzajFunkcja;
    funkcja.Numer = 7;
    o.stan.tabela.zapisz(WarstwaPrawyAlt, 3, funkcja);
    QTest::mouseClick(o.ui->bZapis, Qt::LeftButton);
    o.stan.tabela = TabelaKlawiszy{};

    o.dialogi.wyczysc();
    o.dialogi.odpowiedzi = {Dialogi::Tak};
    o.forma.importStartowy();
    QCOMPARE(o.dialogi.teksty(), QStringList{kPytanie});
    QCOMPARE(o.pozycja("t1"), QStringLiteral("001 CHLEB ŻYTNI     0001"));
    QCOMPARE(o.pozycja("t3071"), QStringLiteral("3071 ŚLEDŹ           3071"));
    QCOMPARE(o.pozycja("p6"), QStringLiteral("PŁATNOŚĆ MOBILNA"));
    QCOMPARE(o.pozycja("w8"), QStringLiteral("8 SEK"));
    funkcja.Kod = 37;
    QCOMPARE(o.stan.tabela.odczytaj(WarstwaPrawyAlt, 3), funkcja);
}

// An error escaping the import is reported; answering "Nie" goes on to the window. A FIFO
// in place of a file is refused at once, not waited for.
void TestImport::bladWImporcie_data() {
    QTest::addColumn<QString>("fifo"); // the file made a FIFO, if any
    QTest::addColumn<int>("odpowiedz");
    QTest::addColumn<QString>("wRaporcie");
    QTest::newRow("zly KONFIG.TXT") << "" << int(Dialogi::Tak) << "KONFIG.TXT";
    QTest::newRow("KONFIG.TXT to FIFO") << "KONFIG.TXT" << int(Dialogi::Tak) << "potok (FIFO)";
    QTest::newRow("towary.txt to FIFO") << "towary.txt" << int(Dialogi::Nie) << "potok (FIFO)";
}

void TestImport::bladWImporcie() {
    QFETCH(QString, fifo);
    QFETCH(int, odpowiedz);
    QFETCH(QString, wRaporcie);
    zapiszPlik("KONFIG.TXT", "$");
    if (!fifo.isEmpty()) {
        QFile::remove(fifo);
        QCOMPARE(::mkfifo(qPrintable(fifo), 0600), 0);
    }
    Okno o;
    FalszyweLacze lacze;
    o.forma.ustawKomunikacje({}, lacze);
    auto* aplikacja = qobject_cast<TAplikacja*>(qApp);
    aplikacja->ustawObslugeBledow(&o.dialogi, &o.forma);
    o.dialogi.odpowiedzi = {Dialogi::Przycisk(odpowiedz), Dialogi::Nie};
    QVERIFY(!ImportZRaportem(*aplikacja, o.forma));
    const Dialogi::Komunikat raport = o.dialogi.ostatni();
    QCOMPARE(raport.tytul, QStringLiteral("Błąd wykonania programu"));
    QVERIFY2(raport.tekst.contains(wRaporcie), qPrintable(raport.tekst));
    QVERIFY(!aplikacja->zakonczenieWybrane());
    QVERIFY(lacze.wywolania.isEmpty());
}

// A paced transfer of 3071 short goods names takes about a second at 57600 baud: the library
// reports each name as it arrives, and the progress window shows the counts meanwhile.
void TestImport::postepDlugiegoEksportu() {
    QVERIFY(QDir().mkpath("stan"));
    QByteArray towary;
    for (int plu = 1; plu <= 3071; ++plu)
        towary += QByteArray::number(plu) + "\tA\n";
    zapiszPlik("stan/towary.txt", towary);
    zapiszPlik("KONFIG.TXT", "$01\tcom1:57600:mux0:1\t5\r\n");
    zapiszPlik("123.@#$", H);
    QVERIFY(m_folder->uruchom({"--pace", "--baud", "57600"}));
    Klepsydra klepsydra;
    BibliotekiKasy lacze(oczekiwanieZKlepsydra(klepsydra));
    QVERIFY(lacze.zPostepem());
    QList<unsigned> zrobione;
    QStringList wOknie;
    QTimer probka;
    QObject::connect(&probka, &QTimer::timeout, [&] {
        zrobione << lacze.postep().zrobione.load();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* okno = qobject_cast<OknoPostepu*>(w); okno && okno->isVisible())
                wOknie << okno->tekstIlosci();
    });
    probka.start(20);
    QCOMPARE(int(lacze.TowarMax("123.@#$", "towary.txt")), 0);
    probka.stop();
    QVERIFY(std::is_sorted(zrobione.begin(), zrobione.end()));
    QVERIFY2(zrobione.size() > 20 && zrobione[zrobione.size() / 2] > 0 &&
                 zrobione[zrobione.size() / 2] < 3071,
             qPrintable(QString::number(zrobione.size())));
    QCOMPARE(lacze.postep().zrobione.load(), 3071u);
    QCOMPARE(lacze.postep().calosc.load(), 3071u);
    QVERIFY(!wOknie.isEmpty());
    QVERIFY2(wOknie.last().endsWith(" z 3071 towarów"), qPrintable(wOknie.last()));
}

int main(int argc, char** argv) {
    TAplikacja aplikacja(argc, argv);
    TestImport test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_import.moc"
