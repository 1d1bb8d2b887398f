// The main window as a whole: start-up state, control placement, and the application-wide
// error report.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QStyleOptionButton>
#include <QToolTip>
#include <QtTest>

#include "app/Podpowiedzi.h"
#include "app/RaportBledu.h"
#include "app/TAplikacja.h"
#include "app/TForm3.h"
#include "app/WidokiFormy.h"
#include "comm/FalszyweLacze.h"
#include "comm/okno/TOknoKomunik.h"
#include "core/BladProgramu.h"
#include "core/okno/Dialogi.h"
#include "core/okno/SkryptDialogi.h"
#include "core/okno/TRadioGroup.h"
#include "keys/StanProgramu.h"
#include "ui_TForm3.h"

class TestOkno : public QObject {
    Q_OBJECT

private slots:
    void polozeniaKontrolek_data();
    void polozeniaKontrolek();
    void stanPoStarcie();
    void grupyPrzelaczaja();
    void nazwyDlaCzytnikaEkranu();
    void nicNieUciete();
    void ramkaNiePrzecinaGrupy();
    void podpowiedzSekundeIOknoNaSrodku();
    void raportBleduTekst();
    void raportBleduNieZostawiaProgram();
    void raportBleduTakZamykaOkno();
    void komunikatZwyklymTekstem_data();
    void komunikatZwyklymTekstem();
};

void TestOkno::polozeniaKontrolek_data() {
    QTest::addColumn<QString>("nazwa");
    QTest::addColumn<QRect>("polozenie");
    const struct {
        const char* nazwa;
        int l, t, w, h;
    } tabela[] = {
        {"iWkladka", 0, 0, 358, 406},        {"rgAlty", 0, 408, 361, 49},
        {"Typkasy", 8, 464, 361, 49},        {"Bevel1", 361, 7, 249, 186},
        {"rgDefinicja", 371, 0, 254, 65},    {"cbTowary", 401, 72, 201, 21},
        {"cbPojedynczo", 433, 95, 129, 18},  {"cbZaplata", 433, 119, 153, 18},
        {"cbParagon", 433, 143, 137, 17},    {"cbFunkcja", 420, 72, 180, 21},
        {"cbPlatnosc", 430, 72, 140, 21},    {"cbWaluta", 422, 72, 140, 21},
        {"cbRabatNarzut", 422, 72, 140, 19}, {"Edit10", 449, 95, 97, 21},
        {"cbRodzaj", 422, 120, 187, 19},     {"Button5", 532, 160, 71, 26},
        {"Bevel2", 360, 200, 249, 121},      {"bOdczyt", 392, 224, 97, 25},
        {"bZapis", 496, 224, 89, 25},        {"Button4", 393, 255, 95, 26},
        {"bKasowanie", 496, 256, 89, 25},    {"bOdczytPlik", 392, 288, 97, 25},
        {"bZapisPlik", 496, 288, 89, 25},    {"Bevel3", 360, 328, 249, 113},
        {"Button2", 392, 348, 83, 25},       {"bbDrukuj", 493, 348, 91, 25},
        {"BitBtnOdczyt", 392, 375, 81, 26},  {"BitBtn1", 496, 375, 89, 26},
        {"bCzcionka", 392, 407, 82, 26},     {"Button1", 491, 407, 95, 26},
        {"edit0", 12, 12, 46, 16},           {"edit0a", 12, 28, 46, 16},
        {"Edit1", 84, 12, 46, 16},           {"Edit1a", 84, 28, 46, 16},
        {"Edit2", 153, 12, 49, 16},          {"Edit2a", 153, 28, 49, 16},
        {"Edit3", 223, 12, 48, 16},          {"Edit3a", 223, 28, 48, 16},
        {"Edit4", 295, 12, 50, 16},          {"Edit4a", 295, 28, 50, 16},
        {"Edit5", 84, 95, 46, 16},           {"Edit6", 153, 95, 46, 16},
        {"Edit7", 225, 95, 48, 16},          {"Edit8", 295, 95, 46, 16},
    };
    for (const auto& k : tabela)
        QTest::newRow(k.nazwa) << QString::fromLatin1(k.nazwa) << QRect(k.l, k.t, k.w, k.h);
}

void TestOkno::polozeniaKontrolek() {
    QFETCH(QString, nazwa);
    QFETCH(QRect, polozenie);
    StanProgramu stan;
    SkryptDialogi dialogi;
    TForm3 okno(stan, dialogi);
    okno.show();
    QVERIFY(QTest::qWaitForWindowExposed(&okno));
    auto* w = okno.findChild<QWidget*>(nazwa);
    QVERIFY2(w, qPrintable(nazwa));
    // Positions are client positions: relative to the window, not to a parent frame.
    QCOMPARE(QRect(w->mapTo(&okno, QPoint(0, 0)), w->size()), polozenie);
}

void TestOkno::stanPoStarcie() {
    StanProgramu stan;
    SkryptDialogi dialogi;
    TForm3 okno(stan, dialogi);
    okno.show();
    QVERIFY(QTest::qWaitForWindowExposed(&okno));
    QCOMPARE(okno.windowTitle(),
             QStringLiteral("Definiowanie klawiszy w kasie TALMO PIXO E (ver.1.40)"));
    QCOMPARE(okno.ui->rgAlty->itemIndex(), 3);
    QCOMPARE(okno.ui->Typkasy->itemIndex(), 0);
    QCOMPARE(okno.ui->Klawisz->text(), QStringLiteral("F1"));
    QCOMPARE(okno.ui->rgDefinicja->itemIndex(), 0);
    QVERIFY(okno.ui->Button5->isVisible());
    QCOMPARE(okno.ui->cbTowary->count(), 3071);
    QCOMPARE(okno.ui->cbTowary->itemText(0), QStringLiteral("001 "));
    QCOMPARE(okno.ui->cbTowary->itemText(98), QStringLiteral("099 "));
    QCOMPARE(okno.ui->cbTowary->itemText(3070), QStringLiteral("3071 "));
    QCOMPARE(okno.ui->cbFunkcja->count(), 40);
    QCOMPARE(okno.ui->cbPlatnosc->itemText(2), QStringLiteral("PŁATNOŚĆ  2"));
    // The picture fills its control; the label edits start hidden and empty.
    QVERIFY(!okno.ui->iWkladka->pixmap().isNull());
    for (auto* e : {okno.ui->edit0, okno.ui->Edit4a, okno.ui->Edit8}) {
        QVERIFY(!e->isVisible());
        QVERIFY(e->text().isEmpty());
    }
    QVERIFY(dialogi.pokazane.empty());
}

void TestOkno::grupyPrzelaczaja() {
    StanProgramu stan;
    SkryptDialogi dialogi;
    TForm3 okno(stan, dialogi);
    okno.show();
    QVERIFY(QTest::qWaitForWindowExposed(&okno));
    // A click on a radio button changes the item index and runs the group's handler.
    QSignalSpy klik(okno.ui->rgAlty, &TRadioGroup::klikniecie);
    QTest::mouseClick(okno.ui->rgAlty->przycisk(1), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(okno.ui->rgAlty->itemIndex(), 1);
    QCOMPARE(klik.count(), 1);
    QCOMPARE(okno.ui->Klawisz->text(), QStringLiteral("A"));
    // Setting the index it already has runs nothing.
    okno.ui->rgAlty->setItemIndex(1);
    QCOMPARE(klik.count(), 1);
    // The items lie column by column: the first half in the left column.
    QVERIFY(okno.ui->rgAlty->przycisk(1)->x() < okno.ui->rgAlty->przycisk(2)->x());
    QVERIFY(okno.ui->rgAlty->przycisk(0)->y() < okno.ui->rgAlty->przycisk(1)->y());
}

// Controls without a caption have names a screen reader tells apart.
void TestOkno::nazwyDlaCzytnikaEkranu() {
    StanProgramu stan;
    SkryptDialogi dialogi;
    TForm3 okno(stan, dialogi);
    QStringList nazwy;
    for (QLineEdit* e : okno.findChildren<QLineEdit*>())
        if (e->objectName().startsWith("edit", Qt::CaseInsensitive) && e->objectName() != "Edit10")
            nazwy << e->accessibleName();
    nazwy.removeDuplicates();
    QCOMPARE(nazwy.size(), 14);
    QVERIFY(nazwy.contains("Napis klawisza F1") &&
            nazwy.contains("Napis klawisza F5, druga linia") &&
            nazwy.contains("Napis klawisza J/="));
    QVERIFY(!okno.ui->rgAlty->accessibleName().isEmpty() && !okno.accessibleName().isEmpty());
}

namespace {

// Whether `tekst` shows whole in a box `szerokosc` wide.
bool miesci(const QWidget* w, const QString& tekst, int szerokosc) {
    return w->fontMetrics().horizontalAdvance(tekst) <= szerokosc;
}

// The captioned controls of `okno` whose text does not fit, as "name: text", measured the
// way the style lays each kind out. Each is shown first, as the user would see it.
QStringList ucieteNapisy(QWidget* okno) {
    for (QWidget* w : okno->findChildren<QWidget*>())
        w->show();
    QStringList uciete;
    const auto zglos = [&](const QWidget* w, const QString& t) {
        uciete << w->objectName() + QStringLiteral(": ") + t;
    };
    for (QWidget* w : okno->findChildren<QWidget*>()) {
        if (auto* b = qobject_cast<QPushButton*>(w)) {
            QStyleOptionButton o;
            o.initFrom(b);
            const QRect wnetrze = b->style()->subElementRect(QStyle::SE_PushButtonContents, &o, b);
            if (!miesci(b, b->text(), wnetrze.width()))
                zglos(b, b->text());
        } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            // Radio buttons and check boxes: the mark, its gap and the caption.
            if (b->sizeHint().width() > b->width())
                zglos(b, b->text());
        } else if (auto* l = qobject_cast<QLabel*>(w)) {
            if (!l->text().isEmpty() && l->sizeHint().width() > l->width())
                zglos(l, l->text());
        } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
            QStyleOptionGroupBox o;
            o.initFrom(g);
            o.text = g->title();
            o.subControls = QStyle::SC_GroupBoxLabel;
            const QRect r =
                g->style()->subControlRect(QStyle::CC_GroupBox, &o, QStyle::SC_GroupBoxLabel, g);
            if (r.right() >= g->width())
                zglos(g, g->title());
        } else if (auto* c = qobject_cast<QComboBox*>(w)) {
            // The goods are the register's names, of any length; the popup shows them wider.
            if (c->objectName() == QLatin1String("cbTowary"))
                continue;
            QStyleOptionComboBox o;
            o.initFrom(c);
            const int pole =
                c->style()
                    ->subControlRect(QStyle::CC_ComboBox, &o, QStyle::SC_ComboBoxEditField, c)
                    .width();
            for (int i = 0; i < c->count(); ++i)
                if (!miesci(c, c->itemText(i), pole))
                    zglos(c, c->itemText(i));
        } else if (auto* s = qobject_cast<QSpinBox*>(w)) {
            QStyleOptionSpinBox o;
            o.initFrom(s);
            const int pole =
                s->style()
                    ->subControlRect(QStyle::CC_SpinBox, &o, QStyle::SC_SpinBoxEditField, s)
                    .width();
            if (!miesci(s, QString::number(s->maximum()), pole))
                zglos(s, QString::number(s->maximum()));
        }
    }
    return uciete;
}

} // namespace

// Every caption and item fits its control in the faces that stand in for the forms' own, and
// a key label of eight capitals (the label fill writes the function names' first eight
// letters) shows whole, without scrolling.
void TestOkno::nicNieUciete() {
    StanProgramu stan;
    SkryptDialogi dialogi;
    TForm3 okno(stan, dialogi);
    okno.show();
    QVERIFY(QTest::qWaitForWindowExposed(&okno));
    QStringList uciete = ucieteNapisy(&okno);

    const WidokWkladki w = widokWkladki(&okno, *okno.ui);
    for (QLineEdit* e : w.edity) {
        e->show();
        for (const QString& t : {QStringLiteral("WYŁĄCZEN"), QStringLiteral("WYŚWIETL"),
                                 QStringLiteral("PŁATNOŚĆ"), QStringLiteral("GOTÓWKA")}) {
            e->setFocus();
            e->clear();
            e->insert(t);
            e->repaint(); // the edit scrolls its text when it paints
            // Text wider than its edit scrolls: its first character leaves the left edge.
            const int y = e->height() / 2;
            if (e->text() != t || e->cursorPositionAt(QPoint(0, y)) != 0 ||
                e->cursorPositionAt(QPoint(e->width() - 1, y)) != t.size())
                uciete << e->objectName() + QStringLiteral(": ") + t;
        }
    }

    FalszyweLacze lacze;
    TOknoKomunik komunik(stan, dialogi, lacze, &okno);
    komunik.show();
    QVERIFY(QTest::qWaitForWindowExposed(&komunik));
    uciete << ucieteNapisy(&komunik);
    QVERIFY2(uciete.isEmpty(), qPrintable(uciete.join(QStringLiteral("\n"))));
}

// The editor panel's bevel runs under the kind selector: the group paints over it, so its
// caption and items look the same with the bevel or without.
void TestOkno::ramkaNiePrzecinaGrupy() {
    StanProgramu stan;
    SkryptDialogi dialogi;
    TForm3 okno(stan, dialogi);
    okno.show();
    QVERIFY(QTest::qWaitForWindowExposed(&okno));
    const auto wOknie = [&](QWidget* w) { return QRect(w->mapTo(&okno, QPoint(0, 0)), w->size()); };
    const QRect grupa = wOknie(okno.ui->rgDefinicja);
    QVERIFY(wOknie(okno.ui->Bevel1).intersects(grupa));
    const QImage zRamka = okno.grab(grupa).toImage();
    okno.ui->Bevel1->hide();
    QCOMPARE(okno.grab(grupa).toImage(), zRamka);
}

// A hint goes after a second (Qt's own would stay ten); the window starts in the middle.
void TestOkno::podpowiedzSekundeIOknoNaSrodku() {
    PodpowiedziNaSekunde podpowiedzi;
    qApp->installEventFilter(&podpowiedzi);
    StanProgramu stan;
    SkryptDialogi dialogi;
    TForm3 okno(stan, dialogi);
    wysrodkuj(okno);
    okno.show();
    QVERIFY(QTest::qWaitForWindowExposed(&okno));
    const QRect ekran = okno.screen()->availableGeometry();
    // Within rounding: the middle of an odd size is half a pixel off.
    const QPoint odchylenie = okno.frameGeometry().center() - ekran.center();
    QVERIFY(qAbs(odchylenie.x()) <= 2 && qAbs(odchylenie.y()) <= 2);
    okno.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&okno));
    // The window's own controls have no hint (the picture's is emptied at start); any hint of
    // the program is timed alike.
    QLabel obrazZPodpowiedzia(QStringLiteral("x"), &okno);
    obrazZPodpowiedzia.setToolTip(QStringLiteral("Podpowiedź"));
    obrazZPodpowiedzia.show();
    QWidget* obraz = &obrazZPodpowiedzia;
    QHelpEvent e(QEvent::ToolTip, QPoint(1, 1), obraz->mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(obraz, &e);
    QVERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), obraz->toolTip());
    QTest::qWait(600);
    QVERIFY(QToolTip::isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!QToolTip::isVisible(), 1500);
    qApp->removeEventFilter(&podpowiedzi);
}

void TestOkno::raportBleduTekst() {
    QCOMPARE(tekstRaportuBledu(QStringLiteral("zły plik\nlinia 2")),
             QStringLiteral("Wystąpił wyjątek: \rzły plik\nlinia 2\r"
                            "Aplikacja może pracować niestabilnie.\rCzy zakończyć program?"));
}

void TestOkno::raportBleduNieZostawiaProgram() {
    auto* app = qobject_cast<TAplikacja*>(qApp);
    StanProgramu stan;
    SkryptDialogi dialogi;
    TForm3 okno(stan, dialogi);
    app->ustawObslugeBledow(&dialogi, &okno);
    okno.show();
    QVERIFY(QTest::qWaitForWindowExposed(&okno));
    QPushButton zly(QStringLiteral("zły"), &okno);
    zly.setGeometry(0, 500, 20, 20);
    zly.show();
    // Connected as the program's handlers are: the error is reported before it reaches Qt.
    connect(&zly, &QPushButton::clicked,
            chronione([] { throw BladProgramu(QStringLiteral("Brak pliku x")); }));
    dialogi.odpowiedzi.push_back(Dialogi::Nie);
    QTest::mouseClick(&zly, Qt::LeftButton);
    QCOMPARE(dialogi.pokazane.size(), size_t(1));
    const auto k = dialogi.ostatni();
    QCOMPARE(k.tytul, QStringLiteral("Błąd wykonania programu"));
    QVERIFY(k.tekst.contains(QStringLiteral("\rBrak pliku x\r")));
    QCOMPARE(k.przyciski, Dialogi::Tak | Dialogi::Nie);
    QVERIFY(okno.isVisible());
    // The window still takes clicks after the report.
    QTest::mouseClick(okno.ui->rgAlty->przycisk(2), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(okno.ui->Klawisz->text(), QStringLiteral("Ą"));
    app->ustawObslugeBledow(nullptr, nullptr);
}

void TestOkno::raportBleduTakZamykaOkno() {
    auto* app = qobject_cast<TAplikacja*>(qApp);
    StanProgramu stan;
    SkryptDialogi dialogi;
    TForm3 okno(stan, dialogi);
    app->ustawObslugeBledow(&dialogi, &okno);
    okno.show();
    QVERIFY(QTest::qWaitForWindowExposed(&okno));
    QPushButton zly(QStringLiteral("zły"), &okno);
    zly.show();
    connect(&zly, &QPushButton::clicked, chronione([] { throw std::runtime_error("awaria"); }));
    // Unsaved definitions: "Tak" in the report still ends without a second question.
    stan.tabela.zapisz(WarstwaBezposrednio, 0, TDefKlawisza{0, RodzajFunkcja, 1});
    dialogi.odpowiedzi.push_back(Dialogi::Tak);
    QTest::mouseClick(&zly, Qt::LeftButton);
    QVERIFY(!okno.isVisible());
    QCOMPARE(dialogi.pokazane.size(), size_t(1));
    app->ustawObslugeBledow(nullptr, nullptr);
}

// The real message box shows its text exactly: a file line or a path with markup in it is
// never rendered as a heading or a picture.
void TestOkno::komunikatZwyklymTekstem_data() {
    QTest::addColumn<QString>("tekst");
    QTest::addColumn<QString>("widoczny");
    QTest::newRow("naglowek") << "Linia 4: <h1>Zapisano OK</h1>"
                              << "Linia 4: <h1>Zapisano OK</h1>";
    QTest::newRow("obraz") << "<img src=\"/usr/share/pixmaps/debian-logo.png\">"
                           << "<img src=\"/usr/share/pixmaps/debian-logo.png\">";
    QTest::newRow("sciezka") << "Nie można zapisać pliku \"/tmp/<b>&amp;.txt\":\rbrak miejsca"
                             << "Nie można zapisać pliku \"/tmp/<b>&amp;.txt\":\nbrak miejsca";
}

void TestOkno::komunikatZwyklymTekstem() {
    QFETCH(QString, tekst);
    QFETCH(QString, widoczny);
    QString pokazany;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        const auto* etykieta = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        QVERIFY(etykieta);
        pokazany = etykieta->text();
        format = etykieta->textFormat();
        box->buttons().constFirst()->click();
    });
    QtDialogi dialogi;
    QCOMPARE(dialogi.komunikat(nullptr,
                               {QStringLiteral("Błąd"), tekst, Dialogi::Ikona::Blad, Dialogi::Ok}),
             Dialogi::Ok);
    QCOMPARE(format, Qt::PlainText);
    QCOMPARE(pokazany, widoczny);
}

int main(int argc, char** argv) {
    TAplikacja app(argc, argv);
    TestOkno test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_okno.moc"
