// The communication dialog driven through a fake register link: its layout and defaults, what
// "Zapisz" hands to the line writer and what happens when that fails, and every path of the
// connection test with the messages the user sees.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>

#include "FalszyweLacze.h"
#include "comm/okno/TOknoKomunik.h"
#include "core/BladProgramu.h"
#include "core/okno/SkryptDialogi.h"
#include "core/okno/TRadioGroup.h"
#include "keys/StanProgramu.h"
#include "transfer/KodyBledow.h"
#include "transfer/okno/PokazBlad.h"
#include "ui_TOknoKomunik.h"

namespace {

const QString kNieZapisano = QStringLiteral("Nie zapisano parametrów komunikacji.");
const QString kPortNie = QStringLiteral("Niemożliwe zainicjowanie portu szeregowego");
const QString kNieTalmo = QStringLiteral("Podłączone urządzenie nie jest kasą TALMO PIXO E");

struct Uklad {
    QTemporaryDir folder; // a save reads the working folder's KONFIG.TXT
    const QString poprzedni = QDir::currentPath();
    StanProgramu stan;
    SkryptDialogi dialogi;
    FalszyweLacze lacze;
    TOknoKomunik okno{stan, dialogi, lacze};
    Ui::TOknoKomunik& ui = *okno.ui;

    Uklad() {
        QDir::setCurrent(folder.path());
        okno.show();
    }
    ~Uklad() { QDir::setCurrent(poprzedni); }
    // A register of model byte `model` answering number `numer`.
    void kasa(char model, const QByteArray& numer) {
        lacze.odpowiedzi.push_back({0, QByteArray(1, model) + "\0\0\0"});
        lacze.odpowiedzi.push_back({0, numer + '\0'});
    }
};

} // namespace

class TestOknoKomunik : public QObject {
    Q_OBJECT
private slots:
    void ukladIDomyslne();
    void kanalTylkoZMultiplekserem();
    void wartosciZostajaMiedzyOtwarciami();
    void zapisPrzedTestem();
    void zapisPoIdentyfikacji();
    void nieczytelnyStaryPlik();
    void nieudanyZapisZostawiaOkno_data();
    void nieudanyZapisZostawiaOkno();
    void portNieOtwarty();
    void kanalNieUstawiony();
    void kanalPrzedPierwszymRozkazem();
    void rozkazNieUdany_data();
    void rozkazNieUdany();
    void kasaPixoEZapisujeSama();
    void innyModel_data();
    void innyModel();
    void zapiszWylaczonyDoUdanegoTestu();
    void numerNieDziesietny();
};

void TestOknoKomunik::ukladIDomyslne() {
    Uklad u;
    QCOMPARE(u.okno.windowTitle(), QStringLiteral("Parametry komunikacji"));
    QCOMPARE(u.okno.size(), QSize(606, 202));
    QVERIFY(u.okno.isModal());
    const std::pair<QWidget*, QRect> miejsca[] = {
        {u.ui.seCOM, {96, 35, 57, 30}},           {u.ui.GrupaMux, {184, 15, 169, 74}},
        {u.ui.GrupaKanal, {375, 15, 82, 154}},    {u.ui.GrupaSzybkosc, {184, 86, 169, 73}},
        {u.ui.WartoscTimeout, {96, 103, 80, 39}}, {u.ui.KlawEsc, {497, 34, 90, 24}},
        {u.ui.KlawZapis, {497, 73, 90, 26}},      {u.ui.KlawPolacz, {497, 113, 90, 25}},
        {u.ui.Bevel1, {0, 0, 475, 193}},          {u.ui.Bevel3, {481, -8, 124, 201}}};
    for (const auto& [w, r] : miejsca)
        QVERIFY2(w->geometry() == r, qPrintable(w->objectName()));
    // Labels keep their place and grow to show their whole text, never shrink, and never
    // reach the spin edit beside them.
    const std::pair<QLabel*, QRect> napisy[] = {{u.ui.Label1, {24, 40, 39, 20}},
                                                {u.ui.NapisTimeout, {16, 112, 60, 20}}};
    for (const auto& [l, r] : napisy) {
        QCOMPARE(l->pos(), r.topLeft());
        QCOMPARE(l->height(), r.height());
        QVERIFY(l->width() >= r.width());
        QVERIFY(l->width() >= l->fontMetrics().horizontalAdvance(l->text()));
        QVERIFY(l->geometry().right() < 96);
    }

    QCOMPARE(u.ui.Label1->text(), QStringLiteral("COM"));
    QCOMPARE(u.ui.NapisTimeout->text(), QStringLiteral("Timeout"));
    QCOMPARE(u.ui.KlawEsc->text(), QStringLiteral("Anuluj"));
    QCOMPARE(u.ui.KlawZapis->text(), QStringLiteral("Zapisz"));
    QCOMPARE(u.ui.KlawPolacz->text(), QStringLiteral("Połącz"));
    QCOMPARE(u.ui.GrupaMux->title(), QStringLiteral("Typ multipleksera"));
    QCOMPARE(u.ui.GrupaMux->items(), QStringList({"bez multipleksera", "MUX 1"}));
    QCOMPARE(u.ui.GrupaKanal->title(), QStringLiteral(" Kanał "));
    QCOMPARE(u.ui.GrupaKanal->items(), QStringList({"nr 1", "nr 2", "nr 3", "nr 4"}));
    QCOMPARE(u.ui.GrupaSzybkosc->title(), QStringLiteral("Szybkość transmisji"));
    QCOMPARE(u.ui.GrupaSzybkosc->items(), QStringList({"9600", "19200", "28800", "57600"}));
    QCOMPARE(u.ui.GrupaSzybkosc->columns(), 2);

    QCOMPARE(u.ui.seCOM->minimum(), 1);
    QCOMPARE(u.ui.seCOM->maximum(), 99);
    QCOMPARE(u.ui.WartoscTimeout->minimum(), 1);
    QCOMPARE(u.ui.WartoscTimeout->maximum(), 1000);
    const ParametryKomunikacji p = u.okno.parametry();
    QCOMPARE(p.port, 1);
    QCOMPARE(p.multiplekser, 0);
    QCOMPARE(p.kanal, 1);
    QCOMPARE(p.szybkosc, 9600);
    QCOMPARE(p.timeout, 5);
    QVERIFY(!u.ui.GrupaKanal->isEnabled());
    QVERIFY(u.ui.KlawZapis->isEnabled());
    QCOMPARE(u.okno.focusWidget(), u.ui.KlawPolacz);

    QCOMPARE(u.ui.Label1->font().pixelSize(), 16);
    QCOMPARE(u.ui.seCOM->font().pixelSize(), 16);
    QCOMPARE(u.ui.GrupaSzybkosc->font().pixelSize(), 16);
    QCOMPARE(u.ui.WartoscTimeout->font().pixelSize(), 23);
    QCOMPARE(u.ui.KlawPolacz->font().pixelSize(), 11);
}

void TestOknoKomunik::kanalTylkoZMultiplekserem() {
    Uklad u;
    u.ui.GrupaKanal->setItemIndex(2);
    QRadioButton* mux1 = u.ui.GrupaMux->przycisk(1);
    QTest::mouseClick(mux1, Qt::LeftButton, {}, QPoint(8, mux1->height() / 2));
    QVERIFY(u.ui.GrupaKanal->isEnabled());
    QCOMPARE(u.ui.GrupaKanal->itemIndex(), 2);
    u.ui.GrupaMux->setItemIndex(0);
    QVERIFY(!u.ui.GrupaKanal->isEnabled());
    QCOMPARE(u.ui.GrupaKanal->itemIndex(), 2);
}

void TestOknoKomunik::wartosciZostajaMiedzyOtwarciami() {
    Uklad u;
    u.ui.seCOM->setValue(7);
    u.ui.GrupaSzybkosc->setItemIndex(2);
    u.ui.WartoscTimeout->setValue(30);
    QTest::mouseClick(u.ui.KlawEsc, Qt::LeftButton);
    QVERIFY(!u.okno.isVisible());
    QCOMPARE(u.okno.result(), int(QDialog::Rejected));
    QVERIFY(u.lacze.wywolania.isEmpty());
    u.okno.show();
    QCOMPARE(u.ui.seCOM->value(), 7);
    QCOMPARE(u.okno.parametry().szybkosc, 28800);
    QCOMPARE(u.ui.WartoscTimeout->value(), 30);
    QCOMPARE(u.okno.focusWidget(), u.ui.KlawPolacz);
}

void TestOknoKomunik::zapisPrzedTestem() {
    Uklad u;
    u.ui.GrupaKanal->setItemIndex(3); // ignored without a multiplexer
    QTest::mouseClick(u.ui.KlawZapis, Qt::LeftButton);
    QCOMPARE(u.stan.NrKasy, QStringLiteral("01"));
    QCOMPARE(u.lacze.wywolania,
             QStringList({"OtwartoPlik(in,1)", "ZamknieciePliku(in)", "OtwartoPlik(KONFIG.TXT,1)",
                          "ZamknieciePliku(KONFIG.TXT)"}));
    QCOMPARE(u.lacze.pliki["in"], QByteArrayList({"#01", "#", "#"}));
    QCOMPARE(u.lacze.pliki["KONFIG.TXT"], QByteArrayList({"$01\tcom1:9600:mux0:1\t5"}));
    QVERIFY(!u.okno.isVisible());
    QCOMPARE(u.okno.result(), int(QDialog::Accepted));
    QVERIFY(u.dialogi.pokazane.empty());
}

void TestOknoKomunik::zapisPoIdentyfikacji() {
    Uklad u;
    u.stan.WartoscNrKasy = 1;
    u.ui.seCOM->setValue(12);
    u.ui.GrupaSzybkosc->setItemIndex(3);
    u.ui.WartoscTimeout->setValue(1000);
    u.ui.GrupaMux->setItemIndex(1);
    u.ui.GrupaKanal->setItemIndex(2);
    u.okno.KlawZapisClick();
    QCOMPARE(u.stan.NrKasy, QStringLiteral("1"));
    QCOMPARE(u.lacze.pliki["in"], QByteArrayList({"#1", "#", "#"}));
    QCOMPARE(u.lacze.pliki["KONFIG.TXT"], QByteArrayList({"$1\tcom12:57600:mux1:3\t1000"}));
}

// An old file that cannot be read whole is not replaced: its other registers would be lost.
void TestOknoKomunik::nieczytelnyStaryPlik() {
    Uklad u;
    QFile stary(QStringLiteral("KONFIG.TXT"));
    QVERIFY(stary.open(QIODevice::WriteOnly) && stary.write(QByteArray(64 * 1024 + 1, '$')) > 0);
    stary.close();
    u.okno.KlawZapisClick();
    QVERIFY(u.okno.isVisible());
    QVERIFY(u.lacze.wywolania.isEmpty());
    QCOMPARE(
        u.dialogi.teksty(),
        QStringList{kNieZapisano +
                    "\rNie można odczytać pliku \"KONFIG.TXT\": plik jest za duży (ponad 64 KB)."});
}

void TestOknoKomunik::nieudanyZapisZostawiaOkno_data() {
    QTest::addColumn<QString>("nieOtwieraj");
    QTest::addColumn<QString>("psujLinieW");
    QTest::addColumn<int>("psujLinie");
    QTest::addColumn<QString>("psujZamkniecieW");
    QTest::addColumn<int>("bladPliku"); // with an earlier register call's code 21 standing
    for (int blad : {0, ENOSPC}) {
        const QByteArray s = "errno " + QByteArray::number(blad);
        QTest::addRow("in nie otwarty, %s", s.data()) << "in"
                                                      << "" << -1 << "" << blad;
        QTest::addRow("druga linia in, %s", s.data()) << ""
                                                      << "in" << 1 << "" << blad;
        QTest::addRow("in nie zamkniety, %s", s.data()) << ""
                                                        << "" << -1 << "in" << blad;
        QTest::addRow("KONFIG nie otwarty, %s", s.data()) << "KONFIG.TXT"
                                                          << "" << -1 << "" << blad;
        QTest::addRow("linia KONFIG, %s", s.data()) << ""
                                                    << "KONFIG.TXT" << 0 << "" << blad;
    }
}

// Whatever step fails, the user learns which file was not saved and why (never an earlier
// register call's result) and can try again; a failed "in" leaves KONFIG.TXT alone.
void TestOknoKomunik::nieudanyZapisZostawiaOkno() {
    QFETCH(QString, nieOtwieraj);
    QFETCH(QString, psujLinieW);
    QFETCH(int, psujLinie);
    QFETCH(QString, psujZamkniecieW);
    QFETCH(int, bladPliku);
    Uklad u;
    u.lacze.nieOtwieraj = nieOtwieraj;
    u.lacze.psujLinieW = psujLinieW;
    u.lacze.psujLinie = psujLinie;
    u.lacze.psujZamkniecieW = psujZamkniecieW;
    u.lacze.bladPliku = bladPliku;
    u.stan.NrBledu = 21;
    u.okno.KlawZapisClick();

    QVERIFY(u.okno.isVisible());
    QVERIFY(u.okno.result() != QDialog::Accepted);
    const bool winIn = nieOtwieraj == "in" || psujLinieW == "in" || psujZamkniecieW == "in";
    const QString plik = QDir::current().absoluteFilePath(winIn ? "in" : "KONFIG.TXT");
    QCOMPARE(u.dialogi.teksty(), QStringList{kNieZapisano + "\rNie można zapisać pliku \"" + plik +
                                             (bladPliku ? "\": brak miejsca na dysku." : "\".")});
    QCOMPARE(u.dialogi.ostatni().ikona, Dialogi::Ikona::Blad);
    QCOMPARE(u.stan.NrBledu, std::uint8_t(21));

    QVERIFY(!u.lacze.pliki.contains("KONFIG.TXT"));
    if (winIn)
        QVERIFY(!u.lacze.wywolania.contains("OtwartoPlik(KONFIG.TXT,1)"));
    if (psujLinieW == "in") // the remaining lines are skipped and the file still closed
        QVERIFY(u.lacze.wywolania.contains("ZamknieciePliku(in)"));
}

void TestOknoKomunik::portNieOtwarty() {
    Uklad u;
    u.lacze.wynikInit = 62;
    u.stan.NrBledu = 21;
    u.stan.WartoscNrKasy = 5;
    u.ui.seCOM->setValue(12);
    u.ui.GrupaSzybkosc->setItemIndex(3);
    u.ui.WartoscTimeout->setValue(1000);
    QTest::mouseClick(u.ui.KlawPolacz, Qt::LeftButton);
    QCOMPARE(u.lacze.wywolania,
             QStringList({"UnInitializePort", "InitializePort(12,57600,1000,1000)"}));
    QCOMPARE(u.dialogi.teksty(), QStringList{kPortNie});
    QCOMPARE(u.dialogi.ostatni().ikona, Dialogi::Ikona::Brak);
    QCOMPARE(u.stan.NrBledu, std::uint8_t(0));
    QCOMPARE(u.stan.WartoscNrKasy, 0);
    QVERIFY(!u.ui.KlawZapis->isEnabled());
    QVERIFY(u.okno.isVisible());
}

void TestOknoKomunik::kanalNieUstawiony() {
    Uklad u;
    u.lacze.wynikKanalu = 0;
    u.ui.GrupaMux->setItemIndex(1);
    u.okno.KlawPolaczClick();
    QCOMPARE(u.lacze.wywolania, QStringList({"UnInitializePort", "InitializePort(1,9600,5,5)",
                                             "UstawKanal(1)", "UnInitializePort"}));
    QCOMPARE(u.dialogi.teksty(), QStringList{kPortNie});
    QVERIFY(!u.lacze.portOtwarty);
    QVERIFY(!u.ui.KlawZapis->isEnabled());
}

void TestOknoKomunik::kanalPrzedPierwszymRozkazem() {
    for (int mux : {0, 1}) {
        Uklad u;
        u.ui.GrupaMux->setItemIndex(mux);
        u.ui.GrupaKanal->setItemIndex(3);
        u.kasa(char(139), "01");
        QCOMPARE(u.okno.TestPolaczenia(), QStringLiteral("0901"));
        QStringList oczekiwane{"UnInitializePort", "InitializePort(1,9600,5,5)"};
        if (mux)
            oczekiwane << "UstawKanal(4)";
        oczekiwane << "RSSequence(254,4,0)"
                   << "RSSequence(192,3,0)"
                   << "UnInitializePort";
        QCOMPARE(u.lacze.wywolania, oczekiwane);
    }
}

void TestOknoKomunik::rozkazNieUdany_data() {
    QTest::addColumn<bool>("identyfikacja");
    QTest::addColumn<int>("kod");
    QTest::newRow("identyfikacja 21") << true << 21;
    QTest::newRow("identyfikacja 24") << true << 24;
    QTest::newRow("numer 20") << false << 20;
    QTest::newRow("numer 255") << false << 255;
}

void TestOknoKomunik::rozkazNieUdany() {
    QFETCH(bool, identyfikacja);
    QFETCH(int, kod);
    Uklad u;
    if (identyfikacja) {
        u.lacze.odpowiedzi.push_back({static_cast<std::uint8_t>(kod), {}});
    } else {
        u.lacze.odpowiedzi.push_back({0, QByteArray(1, char(139))});
        u.lacze.odpowiedzi.push_back({static_cast<std::uint8_t>(kod), {}});
    }
    u.okno.KlawPolaczClick();
    QCOMPARE(u.stan.NrBledu, std::uint8_t(kod));
    QCOMPARE(u.dialogi.teksty(), QStringList{TekstBledu(static_cast<std::uint8_t>(kod))});
    QCOMPARE(u.dialogi.ostatni().ikona, Dialogi::Ikona::Blad);
    QCOMPARE(u.lacze.wywolania.last(), QStringLiteral("UnInitializePort"));
    QCOMPARE(u.lacze.wywolania.count("RSSequence(192,3,0)"), identyfikacja ? 0 : 1);
    QVERIFY(!u.ui.KlawZapis->isEnabled());
    QVERIFY(u.lacze.pliki.isEmpty());
    QCOMPARE(u.stan.WartoscNrKasy, 0);
}

void TestOknoKomunik::kasaPixoEZapisujeSama() {
    Uklad u;
    u.kasa(char(139), "07");
    u.okno.KlawPolaczClick();
    QCOMPARE(u.okno.KodModelu(), 9);
    QCOMPARE(u.dialogi.teksty(),
             QStringList{QStringLiteral("Połączenie poprawne - kasa :TALMO PIXO E 3071 PLU")});
    QCOMPARE(u.dialogi.ostatni().ikona, Dialogi::Ikona::Brak);
    QCOMPARE(u.stan.WartoscNrKasy, 7);
    // The save records the number as identified, without its leading zero.
    QCOMPARE(u.stan.NrKasy, QStringLiteral("7"));
    QCOMPARE(u.lacze.pliki["in"], QByteArrayList({"#7", "#", "#"}));
    QCOMPARE(u.lacze.pliki["KONFIG.TXT"], QByteArrayList({"$7\tcom1:9600:mux0:1\t5"}));
    QVERIFY(!u.okno.isVisible());
    QCOMPARE(u.okno.result(), int(QDialog::Accepted));
}

void TestOknoKomunik::innyModel_data() {
    QTest::addColumn<int>("bajt");
    QTest::addColumn<int>("model");
    QTest::newRow("KESTO 2047") << 100 << 4;
    QTest::newRow("PIXO 511") << 132 << 7;
    QTest::newRow("nieznany 105") << 105 << 0;
    QTest::newRow("zero") << 0 << 0;
}

void TestOknoKomunik::innyModel() {
    QFETCH(int, bajt);
    QFETCH(int, model);
    Uklad u;
    u.kasa(char(bajt), "03");
    u.okno.KlawPolaczClick();
    QCOMPARE(u.okno.KodModelu(), model);
    QCOMPARE(u.dialogi.teksty(), QStringList{kNieTalmo});
    QCOMPARE(u.dialogi.ostatni().ikona, Dialogi::Ikona::Blad);
    QCOMPARE(u.stan.NrKasy, QStringLiteral("03"));
    QCOMPARE(u.stan.WartoscNrKasy, 3);
    QVERIFY(u.lacze.pliki.isEmpty());
    QVERIFY(u.ui.KlawZapis->isEnabled());
    QVERIFY(u.okno.isVisible());
}

void TestOknoKomunik::zapiszWylaczonyDoUdanegoTestu() {
    Uklad u;
    u.lacze.odpowiedzi.push_back({21, {}});
    u.okno.KlawPolaczClick();
    QVERIFY(!u.ui.KlawZapis->isEnabled());
    u.kasa(char(100), "01"); // another model leaves the button as it was
    u.okno.KlawPolaczClick();
    QVERIFY(!u.ui.KlawZapis->isEnabled());
    u.kasa(char(139), "12");
    u.okno.KlawPolaczClick();
    QVERIFY(u.ui.KlawZapis->isEnabled());
    QCOMPARE(u.lacze.pliki["KONFIG.TXT"], QByteArrayList({"$12\tcom1:9600:mux0:1\t5"}));
}

// A number that is no number ends in the program-wide error report; what was read is kept,
// the cursor is back and the port closed.
void TestOknoKomunik::numerNieDziesietny() {
    for (const QByteArray& numer : {QByteArray("A7"), QByteArray("-1"), QByteArray(" 7")}) {
        Uklad u;
        u.kasa(char(139), numer);
        QVERIFY_THROWS_EXCEPTION(BladProgramu, u.okno.KlawPolaczClick());
        QCOMPARE(u.stan.NrKasy, QString::fromLatin1(numer));
        QCOMPARE(u.stan.WartoscNrKasy, 0);
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
        QVERIFY(!u.lacze.portOtwarty);
        QVERIFY(u.lacze.pliki.isEmpty());
        QVERIFY(u.dialogi.pokazane.empty());
    }
}

QTEST_MAIN(TestOknoKomunik)
#include "test_okno_komunik.moc"
