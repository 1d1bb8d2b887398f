// Working in the main window from the keyboard: finding goods.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "app/TForm3.h"
#include "app/WidokiFormy.h"
#include "comm/FalszyweLacze.h"
#include "core/SkryptDialogi.h"
#include "core/TRadioGroup.h"
#include "keys/StanProgramu.h"
#include "keys/SzukajTowaru.h"
#include "ui_TForm3.h"

namespace {

// Centres of keys 0 to 8 at their designed places.
const QPoint kSrodek[9] = {{35, 20},   {107, 20},  {177, 20},  {247, 20}, {320, 20},
                           {107, 100}, {176, 100}, {249, 100}, {318, 100}};

struct Okno {
    QTemporaryDir katalog;
    QString poprzedni = QDir::currentPath();
    StanProgramu stan;
    SkryptDialogi dialogi;
    FalszyweLacze lacze;
    std::unique_ptr<TForm3> okno;
    Ui::TForm3* ui = nullptr;

    Okno() {
        QDir::setCurrent(katalog.path());
        zapisz("KONFIG.TXT", "$01\tcom1:9600:mux0:1\t1\r\n");
        okno = std::make_unique<TForm3>(stan, dialogi);
        okno->ustawKomunikacje([] { return nullptr; }, lacze);
        ui = okno->ui;
        okno->show();
        okno->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(okno.get()));
    }
    ~Okno() {
        okno.reset();
        QDir::setCurrent(poprzedni);
    }
    static void zapisz(const QString& nazwa, const QByteArray& tresc) {
        QFile f(nazwa);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(tresc);
    }
    void klik(int klawisz) {
        QTest::mouseClick(ui->iWkladka, Qt::LeftButton, {}, kSrodek[klawisz]);
    }
    void kliknij(QWidget* w) {
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(6, w->height() / 2));
    }
    void ctrl(Qt::Key k) {
        QWidget* f = QApplication::focusWidget();
        QTest::keyClick(f ? f : okno.get(), k, Qt::ControlModifier);
    }
};

} // namespace

class TestOknoPraca : public QObject {
    Q_OBJECT
private slots:
    void szukanieTowaru();
};

void TestOknoPraca::szukanieTowaru() {
    Okno o;
    QStringList pozycje = TForm3::goleTowary();
    pozycje[499] += "SOK JABŁKOWY";
    pozycje[500] += "JABŁKA LUZEM";
    o.okno->ustawListeTowarow(pozycje);
    SzukajTowaru& s = o.okno->szukanieTowaru();
    o.ctrl(Qt::Key_F); // the goods list is not shown: nothing opens
    QVERIFY(!s.otwarte());

    o.kliknij(o.ui->rgDefinicja->przycisk(1));
    QVERIFY(o.ui->cbTowary->hasFocus());
    QSignalSpy wybor(o.ui->cbTowary, &QComboBox::activated);
    o.ctrl(Qt::Key_F);
    QVERIFY(s.otwarte() && s.pole()->hasFocus());
    QTest::keyClicks(s.pole(), "jabl");
    QCOMPARE(s.wyniki()->model()->rowCount(), 2);
    QCOMPARE(s.wyniki()->model()->index(0, 0).data().toString(), "501 JABŁKA LUZEM");
    QTest::keyClick(s.pole(), Qt::Key_Down);
    QTest::keyClick(s.pole(), Qt::Key_Return);
    // Chosen as with the mouse; Enter did not confirm the key as well.
    QVERIFY(!s.otwarte() && o.ui->cbTowary->hasFocus());
    QCOMPARE(o.ui->cbTowary->currentIndex(), 499);
    QCOMPARE(wybor.size(), 1);
    QCOMPARE(wybor[0][0].toInt(), 499);
    QCOMPARE(o.stan.tabela.odczytaj(WarstwaBezposrednio, 0).Rodzaj, RodzajNiezdefiniowany);
    o.kliknij(o.ui->Button5);
    QCOMPARE(o.stan.tabela.odczytaj(WarstwaBezposrednio, 0).PLU, 500);

    // Escape changes nothing; a click in the list chooses.
    o.ctrl(Qt::Key_F);
    QTest::keyClicks(s.pole(), "7");
    QTest::keyClick(s.pole(), Qt::Key_Escape);
    QVERIFY(!s.otwarte());
    QCOMPARE(o.ui->cbTowary->currentIndex(), 499);
    o.ctrl(Qt::Key_F);
    QTest::keyClicks(s.pole(), "3071");
    const QRect wiersz = s.wyniki()->visualRect(s.wyniki()->model()->index(0, 0));
    QTest::mouseClick(s.wyniki()->viewport(), Qt::LeftButton, {}, wiersz.center());
    QCOMPARE(o.ui->cbTowary->currentIndex(), 3070);
    QCOMPARE(wybor.size(), 2);
}

QTEST_MAIN(TestOknoPraca)
#include "test_okno_praca.moc"
