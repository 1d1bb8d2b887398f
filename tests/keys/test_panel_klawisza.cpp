// Key selection and the editor panel, driven through the main window's controls: clicks on the
// overlay picture, label edits taking the focus, typing into the amount field, confirming and
// answering message boxes. Built twice: on the bare form (the panel alone) and on the real
// main window.
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTest>
#include <memory>

#include "app/WidokiFormy.h"
#include "core/okno/SkryptDialogi.h"
#include "core/okno/TRadioGroup.h"
#include "keys/StanProgramu.h"
#include "keys/okno/PanelKlawisza.h"
#include "ui_TForm3.h"
#ifdef PIXO_TEST_TFORM3
#include "app/TForm3.h"
#endif

namespace {

const QString kKomunikatPlatnosc =
    QStringLiteral("WPROWADŹ KWOTĘ Z MAKSYMALNIE DWOMA MIEJSCAMI PO PRZECINKU");
const QString kKomunikatKwota =
    QStringLiteral("WPROWADŹ KWOTĘ W MAKSYMALNIE DWOMA MIEJSCAMI PO PRZECINKU");
const QString kKomunikatProcent = QStringLiteral("WPROWADŹ PROCENT W ZAKRESIE 1 - 99");
const QString kLimit = QStringLiteral("       Klawisz nie może zostać zatwierdzony.        \n"
                                      "Zdefiniowano już maksymalną liczbę płatności (osiem).");

// The main window, or the bare form with the panel set up the way the window sets it up.
struct Okno {
    StanProgramu stan;
    SkryptDialogi dialogi;
    int zatwierdzenia = 0;
#ifdef PIXO_TEST_TFORM3
    std::unique_ptr<TForm3> forma;
#else
    std::unique_ptr<QWidget> forma;
    Ui::TForm3 formularz;
    std::unique_ptr<PanelKlawisza> panelKlawisza;
#endif
    Ui::TForm3* ui = nullptr;
    PanelKlawisza* panel = nullptr;

    Okno() {
#ifdef PIXO_TEST_TFORM3
        forma = std::make_unique<TForm3>(stan, dialogi);
        ui = forma->ui;
        panel = &forma->panel();
#else
        forma = std::make_unique<QWidget>();
        ui = &formularz;
        ui->setupUi(forma.get());
        // The designed selections, in case the form set them before the groups had items.
        ui->rgAlty->setItemIndex(3);
        ui->rgDefinicja->setItemIndex(0);
        for (int plu = 1; plu <= StanProgramu::kLiczbaTowarow; ++plu)
            ui->cbTowary->addItem(QStringLiteral("%1 ").arg(plu, 3, 10, QLatin1Char('0')));
        panelKlawisza =
            std::make_unique<PanelKlawisza>(widokPanelu(forma.get(), *ui), stan, dialogi);
        panel = panelKlawisza.get();
        ui->cbPlatnosc->setCurrentIndex(0);
        ui->cbFunkcja->setCurrentIndex(0);
        panel->wybierzKlawisz0();
#endif
        auto dalej = panel->poZatwierdzeniu;
        panel->poZatwierdzeniu = [this, dalej] {
            ++zatwierdzenia;
            if (dalej)
                dalej();
        };
    }

    QWidget* okno() const {
        return forma.get();
    }
    std::array<QLineEdit*, 14> napisy() const {
        return {ui->edit0,  ui->edit0a, ui->Edit1,  ui->Edit1a, ui->Edit2, ui->Edit2a, ui->Edit3,
                ui->Edit3a, ui->Edit4,  ui->Edit4a, ui->Edit5,  ui->Edit6, ui->Edit7,  ui->Edit8};
    }
    QList<QWidget*> parametry() const {
        return {ui->cbTowary,  ui->cbPojedynczo, ui->cbZaplata,  ui->cbParagon, ui->Label2,
                ui->cbFunkcja, ui->Label3,       ui->cbPlatnosc, ui->cbWaluta,  ui->cbRabatNarzut,
                ui->Label4,    ui->Edit10,       ui->Label5,     ui->cbRodzaj};
    }
    // Names of the parameter controls that are visible, in a fixed order.
    QStringList widoczne() const {
        QStringList n;
        for (QWidget* w : parametry())
            if (w->isVisible())
                n << w->objectName();
        return n;
    }

    void klik(int x, int y, Qt::MouseButton b = Qt::LeftButton,
              Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::mouseClick(ui->iWkladka, b, m, QPoint(x, y));
    }
    // A click on a radio button's mark.
    static void kliknijOpcje(TRadioGroup* grupa, int i) {
        QRadioButton* b = grupa->przycisk(i);
        QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(6, b->height() / 2));
    }
    void wybierzRodzaj(int rodzaj) {
        kliknijOpcje(ui->rgDefinicja, rodzaj);
    }
    void zatwierdz() {
        QTest::mouseClick(ui->Button5, Qt::LeftButton);
    }
    // Types into the amount field in place of its text.
    void wpisz(const QString& tekst) {
        ui->Edit10->setFocus();
        ui->Edit10->selectAll();
        QTest::keyClicks(ui->Edit10, tekst);
    }
    // Leaves the amount field by Tab, which runs its normalization.
    void opusc() {
        QTest::keyClick(ui->Edit10, Qt::Key_Tab);
    }
    TDefKlawisza rekord(int w, int k) const {
        return stan.tabela.odczytaj(w, k);
    }
};

TDefKlawisza platnosc(int numer, std::int64_t kwota) {
    TDefKlawisza d;
    d.Rodzaj = RodzajPlatnosc;
    d.Numer = std::uint8_t(numer);
    d.Kwota = kwota;
    return d;
}

TDefKlawisza waluta(int numer, std::int64_t kwota) {
    TDefKlawisza d = platnosc(numer, kwota);
    d.Rodzaj = RodzajWaluta;
    return d;
}

TDefKlawisza rabat(int wariant, std::int64_t wartosc, int zakres) {
    TDefKlawisza d;
    d.Rodzaj = RodzajRabatNarzut;
    d.Numer = std::uint8_t(wariant);
    d.Wartosc = wartosc;
    d.Zakres = std::uint8_t(zakres);
    return d;
}

TDefKlawisza towar(int plu, int pojedynczo, int zaplata, int paragon) {
    TDefKlawisza d;
    d.Rodzaj = RodzajTowar;
    d.PLU = std::uint16_t(plu);
    d.Pojedynczo = std::uint8_t(pojedynczo);
    d.Zaplata = std::uint8_t(zaplata);
    d.Paragon = std::uint8_t(paragon);
    return d;
}

TDefKlawisza funkcja(int numer) {
    TDefKlawisza d;
    d.Rodzaj = RodzajFunkcja;
    d.Numer = std::uint8_t(numer);
    return d;
}

// Centres of keys 0 to 8 at their designed places.
const QPoint kSrodek[9] = {{35, 20},   {107, 20},  {177, 20},  {247, 20}, {320, 20},
                           {107, 100}, {176, 100}, {249, 100}, {318, 100}};

} // namespace

class TestPanelKlawisza : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startNaKlawiszuF1();
    void kliknieciaWObraz();
    void zmianaWarstwyWybieraKlawisz0();
    void dolnyRzadTylkoNaWarstwachJednegoAlt();
    void wejscieDoPolaNapisu();
    void wejscieDoPolaPrzenosiFokusDoListy();
    void wyswietlaniePlatnosciIWaluty();
    void wyswietlanieRabatow();
    void wyswietlanieTowaruIFunkcji();
    void inneKlawiszeCzyszczaPanel();
    void nieznanyRodzajJakoNiezdefiniowany();

    void ukladyRodzajow_data();
    void ukladyRodzajow();
    void platnoscNaNiezdefiniowanymKlawiszu();
    void filtrPolaKwoty();
    void opuszczeniePolaNormalizuje();
    void dlugieKwoty();
    void enterBezOpuszczeniaPola();
    void bledneKwotyNicNieZapisuja();
    void procenty();
    void rabatKwotowy();
    void towarIFunkcja();
    void limitOsmiuPlatnosci();
    void listyOdrzucajaZnaki();
    void enterZatwierdza();
    void zleDaneNieNaruszajaTabeli();
#ifdef PIXO_TEST_TFORM3
    void zatwierdzenieWypelniaPusteNapisy();
#endif

private:
    std::unique_ptr<Okno> o;
};

void TestPanelKlawisza::init() {
    o = std::make_unique<Okno>();
    o->okno()->show();
    o->okno()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(o->okno()));
}

void TestPanelKlawisza::cleanup() {
    if (o)
        QVERIFY2(o->dialogi.nieoczekiwane.isEmpty(),
                 qPrintable(o->dialogi.nieoczekiwane.join(QLatin1Char('|'))));
    o.reset();
}

void TestPanelKlawisza::startNaKlawiszuF1() {
    QCOMPARE(o->ui->Klawisz->text(), QStringLiteral("F1"));
    QCOMPARE(o->ui->lKlawisz->text(), QStringLiteral("0"));
    QCOMPARE(o->ui->rgAlty->itemIndex(), 3);
    QCOMPARE(o->ui->rgDefinicja->itemIndex(), 0);
    QVERIFY(o->ui->rgDefinicja->isVisible());
    QVERIFY(o->ui->Button5->isVisible());
    QCOMPARE(o->widoczne(), QStringList());
    QCOMPARE(o->ui->iWkladka->toolTip(), QString());
    QCOMPARE(o->stan.OstatniKlawisz, 0);
    QVERIFY(o->dialogi.pokazane.empty());
}

void TestPanelKlawisza::kliknieciaWObraz() {
    o->klik(58, 44);
    QCOMPARE(o->ui->Klawisz->text(), QStringLiteral("F1"));
    o->klik(59, 20);
    QCOMPARE(o->ui->Klawisz->text(), QString());
    QVERIFY(!o->ui->Button5->isVisible());
    QVERIFY(!o->ui->rgDefinicja->isVisible());
    QCOMPARE(o->ui->lKlawisz->text(), QStringLiteral("0"));
    // With the button hidden, Enter confirms nothing.
    o->stan.tabela.zapisz(3, 0, funkcja(7));
    QTest::keyClick(o->okno(), Qt::Key_Return);
    QCOMPARE(o->rekord(3, 0), funkcja(7));
    QCOMPARE(o->zatwierdzenia, 0);

    o->klik(12, 12);
    QCOMPARE(o->ui->Klawisz->text(), QStringLiteral("F1"));
    QVERIFY(o->ui->Button5->isVisible());
    QVERIFY(o->ui->rgDefinicja->isVisible());
    QCOMPARE(o->ui->rgDefinicja->itemIndex(), int(RodzajFunkcja));
    // Any button and shift state select alike.
    o->klik(kSrodek[1].x(), kSrodek[1].y(), Qt::RightButton, Qt::ShiftModifier);
    QCOMPARE(o->ui->Klawisz->text(), QStringLiteral("F2"));
    QCOMPARE(o->ui->lKlawisz->text(), QStringLiteral("1"));
    QTest::mouseDClick(o->ui->iWkladka, Qt::LeftButton, Qt::NoModifier, kSrodek[4]);
    QCOMPARE(o->ui->Klawisz->text(), QStringLiteral("F5"));

    // A click outside every key while a kind is shown hides its controls.
    o->klik(kSrodek[0].x(), kSrodek[0].y());
    QVERIFY(!o->widoczne().isEmpty());
    o->klik(200, 300);
    QCOMPARE(o->ui->rgDefinicja->itemIndex(), 0);
    QCOMPARE(o->widoczne(), QStringList());
    QCOMPARE(o->rekord(3, 0), funkcja(7));
}

void TestPanelKlawisza::zmianaWarstwyWybieraKlawisz0() {
    o->klik(kSrodek[2].x(), kSrodek[2].y());
    QCOMPARE(o->ui->lKlawisz->text(), QStringLiteral("2"));
    const QStringList nazwy = {QStringLiteral("LEWY+PR.ALT+F1"), QStringLiteral("A"),
                               QStringLiteral("Ą"), QStringLiteral("F1")};
    for (int w : {0, 1, 2, 3, 1}) {
        o->ui->rgAlty->setItemIndex(w);
        QCOMPARE(o->ui->Klawisz->text(), nazwy[w]);
        QCOMPARE(o->ui->lKlawisz->text(), QStringLiteral("0"));
        o->klik(kSrodek[3].x(), kSrodek[3].y());
    }
    // The user's click on the group does the same.
    Okno::kliknijOpcje(o->ui->rgAlty, 2);
    QCOMPARE(o->ui->rgAlty->itemIndex(), 2);
    QCOMPARE(o->ui->Klawisz->text(), QStringLiteral("Ą"));
    // After a click outside every key, switching the layer brings the panel back.
    o->klik(200, 300);
    o->ui->rgAlty->setItemIndex(0);
    QCOMPARE(o->ui->Klawisz->text(), QStringLiteral("LEWY+PR.ALT+F1"));
    QVERIFY(o->ui->Button5->isVisible());
}

void TestPanelKlawisza::dolnyRzadTylkoNaWarstwachJednegoAlt() {
    o->ui->rgAlty->setItemIndex(1);
    o->klik(100, 80);
    QCOMPARE(o->ui->Klawisz->text(), QStringLiteral("G"));
    QCOMPARE(o->ui->lKlawisz->text(), QStringLiteral("5"));
    QCOMPARE(o->stan.OstatniKlawisz, 5);
    o->klik(100, 78);
    QCOMPARE(o->ui->Klawisz->text(), QString());
    QVERIFY(!o->ui->Button5->isVisible());
    const QStringList prawy = {")", "-", "+", "="};
    o->ui->rgAlty->setItemIndex(2);
    for (int k = 5; k < 9; ++k) {
        o->klik(kSrodek[k].x(), kSrodek[k].y());
        QCOMPARE(o->ui->Klawisz->text(), prawy[k - 5]);
    }
    o->klik(kSrodek[1].x(), kSrodek[1].y());
    QCOMPARE(o->ui->Klawisz->text(), QStringLiteral("&")); // a label shows it as it is
    for (int w : {3, 0}) {
        o->ui->rgAlty->setItemIndex(w);
        o->klik(100, 80);
        QCOMPARE(o->ui->Klawisz->text(), QString());
        QVERIFY(!o->ui->Button5->isVisible());
        QCOMPARE(o->ui->lKlawisz->text(), QStringLiteral("0"));
    }
    // Showing a key the layer does not have changes nothing at all.
    o->ui->rgAlty->setItemIndex(3);
    o->panel->PokazKlawisz(6);
    QCOMPARE(o->ui->Klawisz->text(), QStringLiteral("F1"));
    QCOMPARE(o->ui->lKlawisz->text(), QStringLiteral("0"));
}

void TestPanelKlawisza::wejscieDoPolaNapisu() {
    for (QLineEdit* e : o->napisy())
        e->show();
    o->ui->Edit6->setFocus();
    QCOMPARE(QApplication::focusWidget(), o->ui->Edit6);
    QCOMPARE(o->ui->Klawisz->text(), QStringLiteral("F1"));
    QCOMPARE(o->ui->lKlawisz->text(), QStringLiteral("0"));

    o->ui->rgAlty->setItemIndex(2);
    o->ui->Edit3->setFocus();
    o->ui->Edit6->setFocus();
    QCOMPARE(o->ui->Klawisz->text(), QStringLiteral("-"));
    QCOMPARE(o->ui->lKlawisz->text(), QStringLiteral("6"));
    // The second line selects its key too; a click into an edit gives it the focus.
    o->ui->Edit1a->setFocus();
    QCOMPARE(o->ui->Klawisz->text(), QStringLiteral("&"));
    QTest::mouseClick(o->ui->Edit8, Qt::LeftButton);
    QCOMPARE(o->ui->Klawisz->text(), QStringLiteral("="));
    QTest::mouseClick(o->ui->edit0a, Qt::LeftButton);
    QCOMPARE(o->ui->Klawisz->text(), QStringLiteral("Ą"));
    QCOMPARE(o->ui->lKlawisz->text(), QStringLiteral("0"));

    // A message box that takes and gives back the focus is not the user entering the edit.
    o->ui->rgAlty->setItemIndex(1);
    o->ui->Edit7->setFocus();
    QCOMPARE(o->ui->Klawisz->text(), QStringLiteral("I"));
    o->klik(kSrodek[0].x(), kSrodek[0].y());
    QCOMPARE(o->ui->Klawisz->text(), QStringLiteral("A"));
    QWidget obca;
    obca.show();
    obca.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&obca));
    o->okno()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(o->okno()));
    QCOMPARE(QApplication::focusWidget(), o->ui->Edit7);
    QCOMPARE(o->ui->Klawisz->text(), QStringLiteral("A"));
}

void TestPanelKlawisza::wejscieDoPolaPrzenosiFokusDoListy() {
    o->stan.tabela.zapisz(3, 1, towar(3, 0, 0, 0));
    o->stan.tabela.zapisz(3, 2, funkcja(2));
    o->stan.tabela.zapisz(3, 3, platnosc(2, 100));
    o->stan.tabela.zapisz(3, 4, waluta(2, 100));
    o->stan.tabela.zapisz(3, 0, rabat(1, 5, 1));
    for (QLineEdit* e : o->napisy())
        e->show();
    const QList<QPair<QLineEdit*, QWidget*>> przypadki = {{o->ui->Edit1, o->ui->cbTowary},
                                                          {o->ui->Edit2, o->ui->cbFunkcja},
                                                          {o->ui->Edit3a, o->ui->cbPlatnosc},
                                                          {o->ui->Edit4, o->ui->cbWaluta}};
    for (const auto& [pole, lista] : przypadki) {
        pole->setFocus();
        QCOMPARE(QApplication::focusWidget(), lista);
    }
    // A key already shown keeps the focus in its edit.
    o->ui->Edit4a->setFocus();
    QCOMPARE(QApplication::focusWidget(), o->ui->Edit4a);
    // A discount or an undefined key moves no focus.
    o->ui->edit0->setFocus();
    QCOMPARE(QApplication::focusWidget(), o->ui->edit0);
    QCOMPARE(o->ui->Edit10->text(), QStringLiteral("5"));
    o->stan.tabela.zapisz(3, 0, TDefKlawisza{});
    o->ui->Edit1->setFocus();
    o->ui->edit0a->setFocus();
    QCOMPARE(QApplication::focusWidget(), o->ui->edit0a);
}

void TestPanelKlawisza::wyswietlaniePlatnosciIWaluty() {
    o->stan.tabela.zapisz(3, 1, platnosc(2, 1250));
    o->stan.tabela.zapisz(3, 2, waluta(8, 1250));
    o->klik(kSrodek[1].x(), kSrodek[1].y());
    QCOMPARE(o->ui->rgDefinicja->itemIndex(), int(RodzajPlatnosc));
    QCOMPARE(o->ui->cbPlatnosc->currentIndex(), 1);
    QCOMPARE(o->ui->Edit10->text(), QStringLiteral("12,50"));
    QCOMPARE(o->ui->Label3->text(), QStringLiteral("Płatność:"));
    QCOMPARE(o->ui->Label4->text(), QStringLiteral("Kwota"));
    QCOMPARE(o->widoczne(), QStringList({"Label3", "cbPlatnosc", "Label4", "Edit10", "Label5"}));
    QCOMPARE(o->ui->Label5->text(), QStringLiteral("ZŁ"));

    o->klik(kSrodek[2].x(), kSrodek[2].y());
    QCOMPARE(o->ui->rgDefinicja->itemIndex(), int(RodzajWaluta));
    QCOMPARE(o->ui->cbWaluta->currentIndex(), 7);
    QCOMPARE(o->ui->Edit10->text(), QStringLiteral("12,50"));
    QCOMPARE(o->ui->Label3->text(), QStringLiteral("Waluta:"));
    QCOMPARE(o->widoczne(), QStringList({"Label3", "cbWaluta", "Label4", "Edit10"}));

    o->klik(kSrodek[0].x(), kSrodek[0].y());
    QCOMPARE(o->ui->rgDefinicja->itemIndex(), 0);
    QCOMPARE(o->widoczne(), QStringList());
    // The amount of the same kind on another key replaces the shown one.
    o->stan.tabela.zapisz(3, 3, platnosc(1, 5));
    o->klik(kSrodek[1].x(), kSrodek[1].y());
    o->klik(kSrodek[3].x(), kSrodek[3].y());
    QCOMPARE(o->ui->Edit10->text(), QStringLiteral("0,05"));
    QCOMPARE(o->ui->cbPlatnosc->currentIndex(), 0);
}

void TestPanelKlawisza::wyswietlanieRabatow() {
    o->stan.tabela.zapisz(3, 1, rabat(1, 15, 3));
    o->stan.tabela.zapisz(3, 2, rabat(3, 150, 2));
    o->stan.tabela.zapisz(3, 3, rabat(4, 5, 1));
    o->stan.tabela.zapisz(3, 4, rabat(2, 99, 1));
    o->klik(kSrodek[1].x(), kSrodek[1].y());
    QCOMPARE(o->ui->rgDefinicja->itemIndex(), int(RodzajRabatNarzut));
    QCOMPARE(o->ui->Edit10->text(), QStringLiteral("15"));
    QCOMPARE(o->ui->Label4->text(), QStringLiteral("Procent"));
    QCOMPARE(o->ui->cbRabatNarzut->currentIndex(), 0);
    QCOMPARE(o->ui->cbRodzaj->currentIndex(), 2);
    QCOMPARE(o->widoczne(), QStringList({"cbRabatNarzut", "Label4", "Edit10", "cbRodzaj"}));
    o->klik(kSrodek[2].x(), kSrodek[2].y());
    QCOMPARE(o->ui->Edit10->text(), QStringLiteral("1,50"));
    QCOMPARE(o->ui->Label4->text(), QStringLiteral("Kwota"));
    QCOMPARE(o->ui->cbRabatNarzut->currentIndex(), 2);
    QCOMPARE(o->ui->cbRodzaj->currentIndex(), 1);
    o->klik(kSrodek[3].x(), kSrodek[3].y());
    QCOMPARE(o->ui->Edit10->text(), QStringLiteral("0,05"));
    QCOMPARE(o->ui->Label4->text(), QStringLiteral("Kwota"));
    o->klik(kSrodek[4].x(), kSrodek[4].y());
    QCOMPARE(o->ui->Edit10->text(), QStringLiteral("99"));
    QCOMPARE(o->ui->Label4->text(), QStringLiteral("Procent"));
    o->klik(kSrodek[2].x(), kSrodek[2].y());
    QCOMPARE(o->ui->Label4->text(), QStringLiteral("Kwota"));
    QCOMPARE(o->ui->Edit10->text(), QStringLiteral("1,50"));
}

void TestPanelKlawisza::wyswietlanieTowaruIFunkcji() {
    o->ui->rgAlty->setItemIndex(1);
    o->stan.tabela.zapisz(1, 5, towar(3071, 1, 0, 1));
    o->stan.tabela.zapisz(1, 6, funkcja(40));
    o->klik(kSrodek[5].x(), kSrodek[5].y());
    QCOMPARE(o->ui->rgDefinicja->itemIndex(), int(RodzajTowar));
    QCOMPARE(o->ui->cbTowary->currentIndex(), 3070);
    QVERIFY(o->ui->cbPojedynczo->isChecked());
    QVERIFY(!o->ui->cbZaplata->isChecked());
    QVERIFY(o->ui->cbParagon->isChecked());
    QCOMPARE(o->widoczne(), QStringList({"cbTowary", "cbPojedynczo", "cbZaplata", "cbParagon"}));
    o->klik(kSrodek[6].x(), kSrodek[6].y());
    QCOMPARE(o->ui->cbFunkcja->currentIndex(), 39);
    QCOMPARE(o->widoczne(), QStringList({"Label2", "cbFunkcja"}));
    QVERIFY(!o->ui->cbPojedynczo->isChecked());
    QCOMPARE(o->ui->cbTowary->currentIndex(), 0);
    o->klik(kSrodek[5].x(), kSrodek[5].y());
    QVERIFY(o->ui->cbParagon->isChecked());
    QCOMPARE(o->ui->cbFunkcja->currentIndex(), 0);
}

// Another key resets what the previous one left in the controls; the same key number on
// another layer does not (the layer is not compared).
void TestPanelKlawisza::inneKlawiszeCzyszczaPanel() {
    o->stan.tabela.zapisz(3, 0, towar(12, 1, 1, 1));
    o->klik(kSrodek[0].x(), kSrodek[0].y());
    QVERIFY(o->ui->cbZaplata->isChecked());
    o->klik(kSrodek[1].x(), kSrodek[1].y());
    o->wybierzRodzaj(RodzajTowar);
    QCOMPARE(o->ui->cbTowary->currentIndex(), 0);
    QVERIFY(!o->ui->cbPojedynczo->isChecked());
    QVERIFY(!o->ui->cbZaplata->isChecked());
    QVERIFY(!o->ui->cbParagon->isChecked());

    o->stan.tabela.zapisz(3, 2, funkcja(5));
    o->klik(kSrodek[2].x(), kSrodek[2].y());
    QCOMPARE(o->ui->cbFunkcja->currentIndex(), 4);
    o->ui->rgAlty->setItemIndex(1); // key 0 of layer 1: another key number
    QCOMPARE(o->ui->cbFunkcja->currentIndex(), 0);
    o->wybierzRodzaj(RodzajFunkcja);
    o->ui->cbFunkcja->setCurrentIndex(9);
    o->ui->rgAlty->setItemIndex(2); // key 0 again: nothing is reset
    o->wybierzRodzaj(RodzajFunkcja);
    QCOMPARE(o->ui->cbFunkcja->currentIndex(), 9);
}

void TestPanelKlawisza::nieznanyRodzajJakoNiezdefiniowany() {
    TDefKlawisza d = funkcja(3);
    d.Rodzaj = 9;
    o->stan.tabela.zapisz(3, 1, d);
    o->klik(kSrodek[1].x(), kSrodek[1].y());
    QCOMPARE(o->ui->rgDefinicja->itemIndex(), 0);
    QCOMPARE(o->widoczne(), QStringList());
    // A number outside its list shows no entry; confirming keeps within the list.
    o->stan.tabela.zapisz(3, 2, funkcja(77));
    o->klik(kSrodek[2].x(), kSrodek[2].y());
    QCOMPARE(o->ui->cbFunkcja->currentIndex(), -1);
    o->zatwierdz();
    QCOMPARE(o->rekord(3, 2), funkcja(1));
}

void TestPanelKlawisza::ukladyRodzajow_data() {
    QTest::addColumn<int>("rodzaj");
    QTest::addColumn<QStringList>("widoczne");
    QTest::addColumn<QString>("label4");
    QTest::addColumn<QString>("fokus");
    QTest::newRow("0") << 0 << QStringList() << "Kwota"
                       << "";
    QTest::newRow("1") << 1 << QStringList({"cbTowary", "cbPojedynczo", "cbZaplata", "cbParagon"})
                       << "Kwota"
                       << "cbTowary";
    QTest::newRow("2") << 2 << QStringList({"Label2", "cbFunkcja"}) << "Kwota"
                       << "cbFunkcja";
    QTest::newRow("3") << 3 << QStringList({"Label3", "cbPlatnosc", "Label4", "Edit10", "Label5"})
                       << "Kwota"
                       << "cbPlatnosc";
    QTest::newRow("4") << 4 << QStringList({"Label3", "cbWaluta", "Label4", "Edit10"}) << "Kwota"
                       << "cbWaluta";
    QTest::newRow("5") << 5 << QStringList({"cbRabatNarzut", "Label4", "Edit10", "cbRodzaj"})
                       << "Procent"
                       << "";
}

void TestPanelKlawisza::ukladyRodzajow() {
    QFETCH(int, rodzaj);
    QFETCH(QStringList, widoczne);
    QFETCH(QString, label4);
    QFETCH(QString, fokus);
    // Start from a layout that shows something else, with lists that have no entry.
    o->ui->rgDefinicja->setItemIndex(rodzaj == 5 ? 3 : 5);
    o->ui->Edit10->setText(QStringLiteral("77"));
    o->ui->cbTowary->setCurrentIndex(-1);
    o->ui->cbWaluta->setCurrentIndex(-1);
    o->ui->cbRabatNarzut->setCurrentIndex(-1);
    o->ui->cbRodzaj->setCurrentIndex(-1);
    o->ui->rgAlty->setFocus();
    QWidget* przed = QApplication::focusWidget();
    o->ui->rgDefinicja->setItemIndex(rodzaj);
    QCOMPARE(o->widoczne(), widoczne);
    QCOMPARE(o->ui->Label4->text(), label4);
    if (rodzaj >= 3)
        QCOMPARE(o->ui->Edit10->text(), QStringLiteral("0"));
    else
        QCOMPARE(o->ui->Edit10->text(), QStringLiteral("77"));
    if (fokus.isEmpty())
        QCOMPARE(QApplication::focusWidget(), przed);
    else
        QCOMPARE(QApplication::focusWidget()->objectName(), fokus);
    if (rodzaj == 1)
        QCOMPARE(o->ui->cbTowary->currentIndex(), 0);
    if (rodzaj == 3)
        QCOMPARE(o->ui->Label3->text(), QStringLiteral("Płatność:"));
    if (rodzaj == 4) {
        QCOMPARE(o->ui->Label3->text(), QStringLiteral("Waluta:"));
        QCOMPARE(o->ui->cbWaluta->currentIndex(), 0);
    }
    if (rodzaj == 5) {
        QCOMPARE(o->ui->cbRabatNarzut->currentIndex(), 0);
        QCOMPARE(o->ui->cbRodzaj->currentIndex(), 0);
    }
    QVERIFY(o->ui->Button5->isVisible());
    QCOMPARE(o->ui->Klawisz->text(), QStringLiteral("F1"));
}

void TestPanelKlawisza::platnoscNaNiezdefiniowanymKlawiszu() {
    o->klik(kSrodek[1].x(), kSrodek[1].y());
    o->wybierzRodzaj(RodzajPlatnosc);
    QCOMPARE(o->ui->rgDefinicja->itemIndex(), int(RodzajPlatnosc));
    QCOMPARE(o->ui->cbPlatnosc->currentIndex(), 0);
    QCOMPARE(o->ui->Edit10->text(), QStringLiteral("0"));
    QCOMPARE(QApplication::focusWidget(), o->ui->cbPlatnosc);
    o->zatwierdz();
    QCOMPARE(o->rekord(3, 1), platnosc(1, 0));
    QCOMPARE(o->zatwierdzenia, 1);
    QVERIFY(o->dialogi.pokazane.empty());
    // The stored values stay on screen.
    QCOMPARE(o->ui->Edit10->text(), QStringLiteral("0"));
    QCOMPARE(o->ui->rgDefinicja->itemIndex(), int(RodzajPlatnosc));
    // Back to undefined.
    o->wybierzRodzaj(RodzajNiezdefiniowany);
    o->zatwierdz();
    QCOMPARE(o->rekord(3, 1), TDefKlawisza{});
    QCOMPARE(o->zatwierdzenia, 2);
}

void TestPanelKlawisza::filtrPolaKwoty() {
    o->wybierzRodzaj(RodzajPlatnosc);
    QLineEdit* e = o->ui->Edit10;
    o->wpisz(QStringLiteral("1a2- b,3x!"));
    QCOMPARE(e->text(), QStringLiteral("12,3"));
    QTest::keyClick(e, Qt::Key_Backspace);
    QCOMPARE(e->text(), QStringLiteral("12,3"));
    QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(e->text(), QStringLiteral("12,3"));
    // Cursor keys and Delete still work.
    QTest::keyClick(e, Qt::Key_Home);
    QTest::keyClick(e, Qt::Key_Delete);
    QCOMPARE(e->text(), QStringLiteral("2,3"));
    QTest::keyClick(e, Qt::Key_Right);
    QTest::keyClicks(e, QStringLiteral("."));
    QCOMPARE(e->text(), QStringLiteral("2.,3"));
    // Nine characters at most are typed.
    o->wpisz(QStringLiteral("1234567890123"));
    QCOMPARE(e->text(), QStringLiteral("123456789"));
    // A full field takes a character in place of a selected one.
    e->setSelection(0, 3);
    QTest::keyClicks(e, QStringLiteral("9"));
    QCOMPARE(e->text(), QStringLiteral("9456789"));
    // A longer text set from code is kept whole; typing adds nothing to it.
    e->setText(QStringLiteral("123456789,01"));
    QCOMPARE(e->text(), QStringLiteral("123456789,01"));
    e->end(false);
    QTest::keyClicks(e, QStringLiteral("5"));
    QCOMPARE(e->text(), QStringLiteral("123456789,01"));
    // A paste is taken as typing: nine characters at most, no letters.
    QGuiApplication::clipboard()->setText(QStringLiteral("12a345678901234"));
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(e->text(), QStringLiteral("123456789"));
}

void TestPanelKlawisza::opuszczeniePolaNormalizuje() {
    o->klik(kSrodek[1].x(), kSrodek[1].y());
    o->wybierzRodzaj(RodzajPlatnosc);
    const QList<QPair<QString, QString>> przypadki = {
        {"12", "12,00"}, {"12.5", "12,50"}, {"12,55", "12,55"}, {".5", ",50"},
        {"", ",00"},     {"12.", "!!!"},    {"1.234", "!!!"},   {"1.2.3", "!!!"}};
    for (const auto& [wpisane, wynik] : przypadki) {
        o->wpisz(wpisane);
        if (wpisane.isEmpty())
            o->ui->Edit10->del();
        o->opusc();
        QCOMPARE(o->ui->Edit10->text(), wynik);
    }
    o->wpisz(QStringLiteral("12.5"));
    o->opusc();
    o->zatwierdz();
    QCOMPARE(o->rekord(3, 1), platnosc(1, 1250));
    // Clicking "Zatwierdź" leaves the field first, so its text is normalized before reading.
    o->wpisz(QStringLiteral("7.25"));
    o->zatwierdz();
    QCOMPARE(o->ui->Edit10->text(), QStringLiteral("7,25"));
    QCOMPARE(o->rekord(3, 1), platnosc(1, 725));
    QVERIFY(o->dialogi.pokazane.empty());
}

void TestPanelKlawisza::dlugieKwoty() {
    o->klik(kSrodek[1].x(), kSrodek[1].y());
    o->wybierzRodzaj(RodzajPlatnosc);
    o->wpisz(QStringLiteral("123456789"));
    o->opusc();
    QCOMPARE(o->ui->Edit10->text(), QStringLiteral("123456789,00"));
    o->zatwierdz();
    QCOMPARE(o->rekord(3, 1).Kwota, 12345678900);
    // Entering and leaving again turns the 12 characters into ,00.
    o->ui->Edit10->setFocus();
    o->opusc();
    QCOMPARE(o->ui->Edit10->text(), QStringLiteral(",00"));

    o->stan.tabela.zapisz(3, 2, waluta(3, 12345678901));
    o->klik(kSrodek[2].x(), kSrodek[2].y());
    QCOMPARE(o->ui->Edit10->text(), QStringLiteral("123456789,01"));
    o->ui->Edit10->setFocus();
    o->opusc();
    QCOMPARE(o->ui->Edit10->text(), QStringLiteral(",00"));
    o->zatwierdz();
    QCOMPARE(o->rekord(3, 2), waluta(3, 0));
}

// Enter in the field normalises it first, as the click on "Zatwierdź" that leaves it does.
void TestPanelKlawisza::enterBezOpuszczeniaPola() {
    o->stan.tabela.zapisz(3, 1, towar(5, 0, 1, 0));
    o->klik(kSrodek[1].x(), kSrodek[1].y());
    o->wybierzRodzaj(RodzajPlatnosc);
    o->wpisz(QStringLiteral("12."));
    QTest::keyClick(o->ui->Edit10, Qt::Key_Return);
    QCOMPARE(o->dialogi.teksty(), QStringList({kKomunikatPlatnosc}));
    const auto k = o->dialogi.ostatni();
    QCOMPARE(k.tytul, QCoreApplication::applicationName());
    QCOMPARE(int(k.ikona), int(Dialogi::Ikona::Brak));
    QCOMPARE(k.przyciski, int(Dialogi::Ok));
    // Nothing stored: the key keeps its goods definition; the field keeps the focus.
    QCOMPARE(o->rekord(3, 1), towar(5, 0, 1, 0));
    QCOMPARE(o->zatwierdzenia, 0);
    QCOMPARE(QApplication::focusWidget(), o->ui->Edit10);
    QCOMPARE(o->ui->Edit10->text(), QStringLiteral("!!!"));
    // "12.5" with Enter (either one) is taken as a click takes it.
    o->wpisz(QStringLiteral("12.5"));
    QTest::keyClick(o->ui->Edit10, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(o->ui->Edit10->text(), QStringLiteral("12,50"));
    QCOMPARE(o->rekord(3, 1), platnosc(1, 1250));
    o->wpisz(QStringLiteral("7"));
    QTest::keyClick(o->ui->Edit10, Qt::Key_Return);
    QCOMPARE(o->rekord(3, 1), platnosc(1, 700));
    QCOMPARE(o->zatwierdzenia, 2);
    QCOMPARE(o->dialogi.teksty().size(), 1);
}

void TestPanelKlawisza::bledneKwotyNicNieZapisuja() {
    o->stan.tabela.zapisz(3, 1, funkcja(4));
    o->klik(kSrodek[1].x(), kSrodek[1].y());
    o->wybierzRodzaj(RodzajPlatnosc);
    o->wpisz(QStringLiteral("12."));
    o->opusc();
    QCOMPARE(o->ui->Edit10->text(), QStringLiteral("!!!"));
    o->zatwierdz();
    QCOMPARE(o->dialogi.teksty(), QStringList({kKomunikatPlatnosc}));
    QCOMPARE(o->rekord(3, 1), funkcja(4));
    QCOMPARE(QApplication::focusWidget(), o->ui->Edit10);

    o->wybierzRodzaj(RodzajWaluta);
    o->wpisz(QStringLiteral("1.2.3"));
    o->zatwierdz();
    QCOMPARE(o->dialogi.teksty().last(), kKomunikatKwota);
    QCOMPARE(o->rekord(3, 1), funkcja(4));

    o->wybierzRodzaj(RodzajRabatNarzut);
    o->ui->cbRabatNarzut->setCurrentIndex(3);
    o->wpisz(QStringLiteral("5."));
    o->zatwierdz();
    QCOMPARE(o->dialogi.teksty().last(), kKomunikatKwota);
    QCOMPARE(o->rekord(3, 1), funkcja(4));
    QCOMPARE(o->dialogi.teksty().size(), 3);
    QCOMPARE(o->zatwierdzenia, 0);
}

void TestPanelKlawisza::procenty() {
    o->stan.tabela.zapisz(3, 1, rabat(2, 40, 2));
    o->klik(kSrodek[1].x(), kSrodek[1].y());
    const auto zatwierdzProcent = [&](const QString& tekst) {
        o->ui->Edit10->setText(tekst);
        o->ui->Button5->click();
    };
    int komunikaty = 0;
    for (const char* zly : {"0", "0,99", "150", "100,00", "!!!", "", "12.5"}) {
        zatwierdzProcent(QString::fromUtf8(zly));
        QCOMPARE(o->dialogi.teksty().size(), ++komunikaty);
        QCOMPARE(o->dialogi.teksty().last(), kKomunikatProcent);
        QCOMPARE(o->rekord(3, 1), rabat(2, 40, 2));
        QCOMPARE(QApplication::focusWidget(), o->ui->Edit10);
    }
    zatwierdzProcent(QStringLiteral("1"));
    QCOMPARE(o->rekord(3, 1), rabat(2, 1, 2));
    zatwierdzProcent(QStringLiteral("99,99"));
    QCOMPARE(o->rekord(3, 1), rabat(2, 99, 2));
    // Typed and normalized on leaving.
    o->wpisz(QStringLiteral("15.7"));
    o->zatwierdz();
    QCOMPARE(o->ui->Edit10->text(), QStringLiteral("15,70"));
    QCOMPARE(o->rekord(3, 1), rabat(2, 15, 2));
    QCOMPARE(o->zatwierdzenia, 3);
    QCOMPARE(o->dialogi.teksty().size(), komunikaty);
}

void TestPanelKlawisza::rabatKwotowy() {
    o->klik(kSrodek[2].x(), kSrodek[2].y());
    o->ui->cbRabatNarzut->setCurrentIndex(-1);
    o->ui->cbRodzaj->setCurrentIndex(-1);
    o->wybierzRodzaj(RodzajRabatNarzut);
    QCOMPARE(o->ui->cbRabatNarzut->currentText(), QStringLiteral("1 RABAT PROCENTOWY"));
    QCOMPARE(o->ui->cbRodzaj->currentText(), QStringLiteral("1 TYLKO NA POZYCJĘ"));
    QCOMPARE(o->ui->Label4->text(), QStringLiteral("Procent"));
    // The user picks "3 RABAT KWOTOWY" with the arrow keys.
    o->ui->cbRabatNarzut->setFocus();
    QTest::keyClick(o->ui->cbRabatNarzut, Qt::Key_Down);
    QTest::keyClick(o->ui->cbRabatNarzut, Qt::Key_Down);
    QCOMPARE(o->ui->cbRabatNarzut->currentText(), QStringLiteral("3 RABAT KWOTOWY"));
    QCOMPARE(o->ui->Label4->text(), QStringLiteral("Kwota"));
    QCOMPARE(o->ui->Edit10->text(), QStringLiteral("0"));
    // A selection set from code runs no handler.
    o->ui->cbRabatNarzut->setCurrentIndex(1);
    QCOMPARE(o->ui->Label4->text(), QStringLiteral("Kwota"));
    o->ui->cbRabatNarzut->setCurrentIndex(3);
    o->ui->cbRodzaj->setFocus();
    QTest::keyClick(o->ui->cbRodzaj, Qt::Key_End);
    QCOMPARE(o->ui->cbRodzaj->currentIndex(), 2);
    o->wpisz(QStringLiteral("1.5"));
    o->zatwierdz();
    QCOMPARE(o->rekord(3, 2), rabat(4, 150, 3));
    // Further decimals are dropped, never rounded.
    o->ui->Edit10->setText(QStringLiteral("1,239"));
    o->ui->Button5->click();
    QCOMPARE(o->rekord(3, 2), rabat(4, 123, 3));
    o->ui->Edit10->setText(QStringLiteral("0,53"));
    o->ui->Button5->click();
    QCOMPARE(o->rekord(3, 2).Wartosc, 53);
    // The variant back to a percent by the user: the caption follows, the text does not.
    o->ui->cbRabatNarzut->setFocus();
    QTest::keyClick(o->ui->cbRabatNarzut, Qt::Key_Home);
    QCOMPARE(o->ui->Label4->text(), QStringLiteral("Procent"));
    QCOMPARE(o->ui->Edit10->text(), QStringLiteral("0,53"));
    QVERIFY(o->dialogi.pokazane.empty());
}

void TestPanelKlawisza::towarIFunkcja() {
    o->ui->rgAlty->setItemIndex(2);
    o->klik(kSrodek[8].x(), kSrodek[8].y());
    o->wybierzRodzaj(RodzajTowar);
    o->ui->cbTowary->setCurrentIndex(3070);
    QTest::mouseClick(o->ui->cbZaplata, Qt::LeftButton);
    o->zatwierdz();
    QCOMPARE(o->rekord(2, 8), towar(3071, 0, 1, 0));
    o->wybierzRodzaj(RodzajFunkcja);
    QTest::keyClick(o->ui->cbFunkcja, Qt::Key_End);
    o->zatwierdz();
    QCOMPARE(o->rekord(2, 8), funkcja(40));
    // A goods list not filled yet stores the first goods number, never 0.
    o->wybierzRodzaj(RodzajTowar);
    o->ui->cbTowary->clear();
    o->zatwierdz();
    QCOMPARE(o->rekord(2, 8), towar(1, 0, 1, 0));
    QCOMPARE(o->zatwierdzenia, 3);
}

void TestPanelKlawisza::limitOsmiuPlatnosci() {
    const QList<PozycjaKlawisza> osiem = {{0, 0}, {0, 4}, {1, 0}, {1, 8},
                                          {2, 0}, {2, 8}, {3, 3}, {3, 4}};
    for (const auto& p : osiem)
        o->stan.tabela.zapisz(p.warstwa, p.klawisz, platnosc(2, 100));

    // A ninth payment on an undefined key: refused, the key stays undefined.
    o->klik(kSrodek[1].x(), kSrodek[1].y());
    o->wybierzRodzaj(RodzajPlatnosc);
    o->wpisz(QStringLiteral("5"));
    o->zatwierdz();
    QCOMPARE(o->dialogi.teksty(), QStringList({kLimit}));
    const auto k = o->dialogi.ostatni();
    QCOMPARE(int(k.ikona), int(Dialogi::Ikona::Ostrzezenie));
    QCOMPARE(k.przyciski, int(Dialogi::Ok));
    QCOMPARE(k.tytul, QStringLiteral("Ostrzeżenie"));
    QCOMPARE(o->rekord(3, 1), TDefKlawisza{});
    QCOMPARE(o->ui->rgDefinicja->itemIndex(), 0);
    QCOMPARE(o->widoczne(), QStringList());
    QCOMPARE(o->zatwierdzenia, 0);

    // A key holding a currency keeps it and shows it again.
    o->stan.tabela.zapisz(3, 2, waluta(4, 250));
    o->klik(kSrodek[2].x(), kSrodek[2].y());
    o->wybierzRodzaj(RodzajPlatnosc);
    o->zatwierdz();
    QCOMPARE(o->dialogi.teksty().size(), 2);
    QCOMPARE(o->rekord(3, 2), waluta(4, 250));
    QCOMPARE(o->ui->rgDefinicja->itemIndex(), int(RodzajWaluta));
    QCOMPARE(o->ui->Edit10->text(), QStringLiteral("2,50"));
    QCOMPARE(o->ui->cbWaluta->currentIndex(), 3);
    QCOMPARE(o->stan.tabela.liczbaPlatnosci(), 8);

    // Re-confirming one of the eight with a new amount is allowed.
    o->klik(kSrodek[3].x(), kSrodek[3].y());
    o->wpisz(QStringLiteral("7"));
    o->zatwierdz();
    QCOMPARE(o->rekord(3, 3), platnosc(2, 700));
    QCOMPARE(o->stan.tabela.liczbaPlatnosci(), 8);
    QCOMPARE(o->dialogi.teksty().size(), 2);

    // Other kinds are not limited.
    o->klik(kSrodek[1].x(), kSrodek[1].y());
    o->wybierzRodzaj(RodzajWaluta);
    o->zatwierdz();
    // The currency list kept the entry of the currency key shown before.
    QCOMPARE(o->rekord(3, 1), waluta(4, 0));
    o->wybierzRodzaj(RodzajTowar);
    o->zatwierdz();
    QCOMPARE(o->rekord(3, 1).Rodzaj, RodzajTowar);

    // Nine payments read from a file: even a re-confirmed one is refused and kept.
    o->stan.tabela.zapisz(3, 0, platnosc(6, 1));
    o->klik(kSrodek[0].x(), kSrodek[0].y());
    o->wpisz(QStringLiteral("3"));
    o->zatwierdz();
    QCOMPARE(o->dialogi.teksty().size(), 3);
    QCOMPARE(o->rekord(3, 0), platnosc(6, 1));
    QCOMPARE(o->ui->Edit10->text(), QStringLiteral("0,01"));
    QCOMPARE(o->ui->cbPlatnosc->currentIndex(), 5);
    QCOMPARE(o->zatwierdzenia, 3);
}

void TestPanelKlawisza::listyOdrzucajaZnaki() {
    o->wybierzRodzaj(RodzajFunkcja);
    QComboBox* f = o->ui->cbFunkcja;
    QCOMPARE(QApplication::focusWidget(), f);
    QTest::keyClicks(f, QStringLiteral("2 "));
    QCOMPARE(f->currentIndex(), 0);
    QVERIFY(!f->view()->isVisible());
    QTest::keyClick(f, Qt::Key_Down);
    QCOMPARE(f->currentIndex(), 1);
    QTest::keyClick(f, Qt::Key_Up);
    QCOMPARE(f->currentIndex(), 0);
    // Typing into the open list finds nothing either.
    f->showPopup();
    QTRY_VERIFY(f->view()->isVisible());
    const QModelIndex przed = f->view()->currentIndex();
    QTest::keyClicks(f->view(), QStringLiteral("3"));
    QCOMPARE(f->view()->currentIndex(), przed);
    f->hidePopup();
    QTRY_VERIFY(!f->view()->isVisible());
    QCOMPARE(f->currentIndex(), 0);

    o->wybierzRodzaj(RodzajTowar);
    QTest::keyClicks(o->ui->cbTowary, QStringLiteral("30"));
    QCOMPARE(o->ui->cbTowary->currentIndex(), 0);
    o->wybierzRodzaj(RodzajWaluta);
    QTest::keyClicks(o->ui->cbWaluta, QStringLiteral("08"));
    QCOMPARE(o->ui->cbWaluta->currentIndex(), 0);
    o->wybierzRodzaj(RodzajPlatnosc);
    QTest::keyClicks(o->ui->cbPlatnosc, QStringLiteral("P"));
    QCOMPARE(o->ui->cbPlatnosc->currentIndex(), 0);
    o->wybierzRodzaj(RodzajRabatNarzut);
    QTest::keyClicks(o->ui->cbRabatNarzut, QStringLiteral("4"));
    QTest::keyClicks(o->ui->cbRodzaj, QStringLiteral("3"));
    QCOMPARE(o->ui->cbRabatNarzut->currentIndex(), 0);
    QCOMPARE(o->ui->cbRodzaj->currentIndex(), 0);
    QCOMPARE(o->ui->Label4->text(), QStringLiteral("Procent"));
}

void TestPanelKlawisza::enterZatwierdza() {
    o->klik(kSrodek[1].x(), kSrodek[1].y());
    o->wybierzRodzaj(RodzajFunkcja);
    QTest::keyClick(o->ui->cbFunkcja, Qt::Key_Down);
    QTest::keyClick(o->ui->cbFunkcja, Qt::Key_Return);
    QCOMPARE(o->rekord(3, 1), funkcja(2));
    o->wybierzRodzaj(RodzajTowar);
    QTest::keyClick(o->ui->cbParagon, Qt::Key_Space);
    QTest::keyClick(o->ui->cbParagon, Qt::Key_Return);
    QCOMPARE(o->rekord(3, 1), towar(1, 0, 0, 1));
    QCOMPARE(o->zatwierdzenia, 2);
}

// Any click, layer change, kind, typed text and confirm in any order: no crash, and every
// record stored stays within what the panel offers.
void TestPanelKlawisza::zleDaneNieNaruszajaTabeli() {
    QRandomGenerator los(20240601);
    for (QLineEdit* e : o->napisy())
        e->show();
    const QString znaki = QStringLiteral("0123456789.,.,a-!+ ");
    const Qt::MouseButton przyciski[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
    for (int krok = 0; krok < 3000; ++krok) {
        switch (los.bounded(9)) {
        case 0:
            o->klik(los.bounded(-20, 380), los.bounded(-20, 430), przyciski[los.bounded(3)]);
            break;
        case 1:
            o->ui->rgAlty->setItemIndex(los.bounded(4));
            break;
        case 2:
            o->ui->rgDefinicja->setItemIndex(los.bounded(6));
            break;
        case 3: {
            QString t;
            for (int i = los.bounded(14); i > 0; --i)
                t += znaki[los.bounded(int(znaki.size()))];
            if (o->ui->Edit10->isVisible())
                o->wpisz(t);
            else
                o->ui->Edit10->setText(t);
            break;
        }
        case 4:
            if (o->ui->Edit10->isVisible() && o->ui->Edit10->hasFocus())
                o->opusc();
            break;
        case 5: {
            QComboBox* listy[] = {o->ui->cbTowary, o->ui->cbFunkcja,     o->ui->cbPlatnosc,
                                  o->ui->cbWaluta, o->ui->cbRabatNarzut, o->ui->cbRodzaj};
            QComboBox* l = listy[los.bounded(6)];
            l->setCurrentIndex(los.bounded(-1, l->count()));
            break;
        }
        case 6:
            o->napisy()[los.bounded(14)]->setFocus();
            break;
        case 7:
            QTest::keyClick(o->okno(), Qt::Key_Return);
            break;
        default:
            o->ui->Button5->click();
            break;
        }
        if (o->ui->Button5->isVisible())
            QCOMPARE(o->ui->Klawisz->text(),
                     nazwaKlawisza(o->ui->rgAlty->itemIndex(), o->ui->lKlawisz->text().toInt()));
    }
    QVERIFY(o->zatwierdzenia > 100);
    int zdefiniowane = 0;
    for (int w = 0; w < 4; ++w)
        for (int k = 0; k < liczbaKlawiszy(w); ++k) {
            const TDefKlawisza d = o->rekord(w, k);
            const QByteArray gdzie = QByteArray::number(w) + "/" + QByteArray::number(k);
            zdefiniowane += d.Rodzaj != 0;
            switch (d.Rodzaj) {
            case RodzajNiezdefiniowany:
                break;
            case RodzajTowar:
                QVERIFY2(d.PLU >= 1 && d.PLU <= 3071, gdzie);
                QVERIFY2(d.Pojedynczo <= 1 && d.Zaplata <= 1 && d.Paragon <= 1, gdzie);
                break;
            case RodzajFunkcja:
                QVERIFY2(d.Numer >= 1 && d.Numer <= 40, gdzie);
                break;
            case RodzajPlatnosc:
            case RodzajWaluta:
                QVERIFY2(d.Numer >= 1 && d.Numer <= (d.Rodzaj == RodzajPlatnosc ? 7 : 8), gdzie);
                QVERIFY2(d.Kwota >= 0, gdzie);
                break;
            case RodzajRabatNarzut:
                QVERIFY2(d.Numer >= 1 && d.Numer <= 4 && d.Zakres >= 1 && d.Zakres <= 3, gdzie);
                if (d.Numer <= 2)
                    QVERIFY2(d.Wartosc >= 1 && d.Wartosc <= 99, gdzie);
                else
                    QVERIFY2(d.Wartosc >= 0, gdzie);
                break;
            default:
                QFAIL(gdzie);
            }
        }
    QVERIFY(zdefiniowane > 5);
    QVERIFY(o->stan.tabela.liczbaPlatnosci() <= 8);
    // The boxes shown are only the panel's own.
    const QStringList dozwolone = {kKomunikatPlatnosc, kKomunikatKwota, kKomunikatProcent, kLimit};
    for (const QString& t : o->dialogi.teksty())
        QVERIFY2(dozwolone.contains(t), qPrintable(t));
}

#ifdef PIXO_TEST_TFORM3
// The window refills the empty key labels after every stored confirm, and only then.
void TestPanelKlawisza::zatwierdzenieWypelniaPusteNapisy() {
    for (QLineEdit* e : o->napisy())
        e->clear();
    o->ui->Edit2->setText(QStringLiteral("MOJ"));
    o->klik(kSrodek[1].x(), kSrodek[1].y());
    o->wybierzRodzaj(RodzajFunkcja);
    o->zatwierdz();
    QCOMPARE(o->ui->Edit1->text(), QStringLiteral("WŁĄCZE"));
    o->klik(kSrodek[2].x(), kSrodek[2].y());
    o->wybierzRodzaj(RodzajPlatnosc);
    o->zatwierdz();
    QCOMPARE(o->rekord(3, 2), platnosc(1, 0));
    QCOMPARE(o->ui->Edit2->text(), QStringLiteral("MOJ"));
    o->klik(kSrodek[3].x(), kSrodek[3].y());
    o->wybierzRodzaj(RodzajPlatnosc);
    o->wpisz(QStringLiteral("1."));
    o->zatwierdz();
    QCOMPARE(o->dialogi.teksty(), QStringList({kKomunikatPlatnosc}));
    QCOMPARE(o->ui->Edit3->text(), QString());
    QCOMPARE(o->zatwierdzenia, 2);
}
#endif

QTEST_MAIN(TestPanelKlawisza)
#include "test_panel_klawisza.moc"
