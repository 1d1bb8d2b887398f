// Working in the main window from the keyboard and without losing work: finding goods, the
// selected key's mark and keyboard selection, button mnemonics, the question on closing, undo.
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
#include "core/okno/SkryptDialogi.h"
#include "core/okno/TRadioGroup.h"
#include "keys/StanProgramu.h"
#include "keys/okno/SzukajTowaru.h"
#include "keys/okno/ZnacznikKlawisza.h"
#include "ui_TForm3.h"

namespace {

// Centres of keys 0 to 8 at their designed places.
const QPoint kSrodek[9] = {{35, 20},   {107, 20},  {177, 20},  {247, 20}, {320, 20},
                           {107, 100}, {176, 100}, {249, 100}, {318, 100}};
// A key-definition file: a goods key on F2, a payment on left-Alt A.
const QByteArray kPlikDefinicji =
    "#01\r\n#\r\n#\r\n$177\t1\t500\t1\t0\t0\r\n$65\t3\t2\t1250\t0\r\n";

// What the user does, each as the user does it: a confirm on F1 as it is, F1 made function 1
// and confirmed (its label fills), Ctrl+Z, the definitions' "Zapis do pliku" and "Zapis do
// kasy", "AB" typed into F2's second label line, the labels' "Zapis do pliku", "Odczyt z pliku",
// "Odczyt z kasy", "Kasowanie" and "Układ domyślny" (both answered Tak).
enum Krok {
    Zatwierdz,
    ZatwierdzFunkcje,
    Cofnij,
    ZapiszDefinicje,
    ZapiszDoKasy,
    WpiszNapis,
    ZapiszNapisy,
    OdczytajPlik,
    OdczytajZKasy,
    Kasuj,
    UkladDomyslny
};

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
        zapisz("k.txt", kPlikDefinicji);
        // The register answers every call; a read gives the file above.
        lacze.operacja = [this](const QString& nazwa, const QString& plik) {
            if (nazwa == QLatin1String("ODefKlaw"))
                zapisz(plik, kPlikDefinicji);
            return std::uint8_t(0);
        };
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
    static QByteArray wczytaj(const QString& nazwa) {
        QFile f(nazwa);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(brak)");
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
    // The definitions and the labels as saved by the program: "<nazwa>.txt" and "<nazwa>.bm0".
    QByteArray zapisane(const QString& nazwa) {
        dialogi.pliki = {katalog.filePath(nazwa + ".txt"), katalog.filePath(nazwa + ".bmp")};
        kliknij(ui->bZapisPlik);
        kliknij(ui->BitBtn1);
        return wczytaj(nazwa + ".txt") + wczytaj(nazwa + ".bm0");
    }
    void krok(int k) {
        static const QMap<int, QString> pliki = {
            {ZapiszDefinicje, "d.txt"}, {ZapiszNapisy, "n.bmp"}, {OdczytajPlik, "k.txt"}};
        if (pliki.contains(k))
            dialogi.pliki.push_back(katalog.filePath(pliki[k]));
        if (k == Kasuj || k == UkladDomyslny)
            dialogi.odpowiedzi.push_back(Dialogi::Tak);
        if (k == ZatwierdzFunkcje) {
            klik(0);
            kliknij(ui->rgDefinicja->przycisk(2));
        } else if (k == WpiszNapis) {
            kliknij(ui->Button2);
            ui->Edit1a->setFocus();
            QTest::keyClicks(ui->Edit1a, "AB");
            ui->iWkladka->setFocus();
        } else if (k == Cofnij) {
            ctrl(Qt::Key_Z);
        }
        QPushButton* const przyciski[] = {ui->Button5, ui->Button5,    nullptr,     ui->bZapisPlik,
                                          ui->bZapis,  nullptr,        ui->BitBtn1, ui->bOdczytPlik,
                                          ui->bOdczyt, ui->bKasowanie, ui->Button1};
        if (przyciski[k])
            kliknij(przyciski[k]);
    }
};

} // namespace

class TestOknoPraca : public QObject {
    Q_OBJECT
private slots:
    void szukanieTowaru();
    void znacznikIKlawiaturaNaWszystkichPozycjach();
    void strzalkiNaObrazie_data();
    void strzalkiNaObrazie();
    void mnemonikiPrzyciskow();
    void pytanieOZamknieciu_data();
    void pytanieOZamknieciu();
    void cofanieOdtwarzaZapis_data();
    void cofanieOdtwarzaZapis();
    void cofanieWPoluTekstu();
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
    // Shown, the list's popup takes its width from a fixed length, not from the 3071 items.
    QCOMPARE(o.ui->cbTowary->sizeAdjustPolicy(), QComboBox::AdjustToMinimumContentsLengthWithIcon);
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

// Tab reaches the picture; Page Down and Right then walk all 28 positions, each selected as a
// click on it selects, the mark drawn round that key's label edits only.
void TestOknoPraca::znacznikIKlawiaturaNaWszystkichPozycjach() {
    Okno o;
    int numer = 0;
    for (int w = 0; w < 4; ++w)
        for (int k = 0; k < liczbaKlawiszy(w); ++k) {
            TDefKlawisza d;
            d.Rodzaj = RodzajFunkcja;
            d.Numer = std::uint8_t(++numer);
            o.stan.tabela.zapisz(w, k, d);
        }
    const auto pola = widokPanelu(o.okno.get(), *o.ui).pierwszeLinie;
    // The picture stands before its label edits (hidden) and the panel's controls.
    o.ui->Button5->setFocus();
    QTest::keyClick(o.ui->Button5, Qt::Key_Backtab);
    QVERIFY(o.ui->iWkladka->hasFocus());

    QSet<QString> odwiedzone;
    for (int w = 0; w < 4; ++w) {
        QTest::keyClick(o.ui->iWkladka, Qt::Key_PageDown);
        const int warstwa = o.ui->rgAlty->itemIndex();
        for (int k = 0; k < liczbaKlawiszy(warstwa); ++k) {
            if (k > 0)
                QTest::keyClick(o.ui->iWkladka, Qt::Key_Right);
            QVERIFY(o.ui->iWkladka->hasFocus());
            const QString nazwa = o.ui->Klawisz->text();
            const int funkcja = o.ui->cbFunkcja->currentIndex();
            const QRect znak = o.okno->znacznik().obszar().value_or(QRect());
            for (int inny = 0; inny < 9; ++inny)
                QCOMPARE(znak.contains(pola[inny]->geometry()), inny == k);
            const QImage obraz = o.ui->iWkladka->grab().toImage();
            QCOMPARE(obraz.pixelColor(znak.left(), znak.center().y()),
                     o.okno->palette().color(QPalette::Highlight));
            o.klik(k);
            QCOMPARE(o.ui->Klawisz->text(), nazwa);
            QCOMPARE(o.ui->cbFunkcja->currentIndex(), funkcja);
            odwiedzone << QString::number(warstwa) + nazwa + QString::number(funkcja);
        }
    }
    QCOMPARE(odwiedzone.size(), 28);
    QTest::mouseClick(o.ui->iWkladka, Qt::LeftButton, {}, QPoint(70, 300));
    QVERIFY(!o.okno->znacznik().obszar());
}

void TestOknoPraca::strzalkiNaObrazie_data() {
    QTest::addColumn<int>("warstwa");
    QTest::addColumn<int>("klawisz");
    QTest::addColumn<int>("strzalka");
    QTest::addColumn<QString>("wybrany");
    QTest::newRow("w lewo od pierwszego") << 3 << 0 << int(Qt::Key_Left) << "F5";
    QTest::newRow("w prawo do dolnego rzedu") << 1 << 4 << int(Qt::Key_Right) << "G";
    QTest::newRow("w dol spod pierwszego") << 1 << 0 << int(Qt::Key_Down) << "G";
    QTest::newRow("w dol") << 2 << 2 << int(Qt::Key_Down) << "-";
    QTest::newRow("w gore") << 2 << 8 << int(Qt::Key_Up) << "Ę";
    QTest::newRow("w dol bez dolnego rzedu") << 0 << 1 << int(Qt::Key_Down) << "LEWY+PR.ALT+F2";
    QTest::newRow("End") << 2 << 0 << int(Qt::Key_End) << "=";
    QTest::newRow("Page Up") << 3 << 2 << int(Qt::Key_PageUp) << "Ą";
}

void TestOknoPraca::strzalkiNaObrazie() {
    QFETCH(int, warstwa);
    QFETCH(int, klawisz);
    QFETCH(int, strzalka);
    QFETCH(QString, wybrany);
    Okno o;
    o.ui->rgAlty->setItemIndex(warstwa);
    o.klik(klawisz);
    QTest::keyClick(o.ui->iWkladka, Qt::Key(strzalka));
    QCOMPARE(o.ui->Klawisz->text(), wybrany);
}

// Each button's caption reads as the form gives it, one of its letters marked; Alt and that
// letter clicks it.
void TestOknoPraca::mnemonikiPrzyciskow() {
    Okno o;
    QWidget goly;
    Ui::TForm3 forma;
    forma.setupUi(&goly);
    QSet<QChar> litery;
    const auto przyciski = o.okno->findChildren<QPushButton*>();
    for (QPushButton* b : przyciski) {
        QString napis = b->text();
        const qsizetype i = napis.indexOf(u'&');
        QVERIFY2(i >= 0 && napis.indexOf(u'&', i + 1) < 0, qPrintable(napis));
        litery << napis[i + 1].toUpper();
        QCOMPARE(napis.remove(i, 1), goly.findChild<QPushButton*>(b->objectName())->text());
    }
    QCOMPARE(litery.size(), przyciski.size());
    QTest::keyClick(o.okno.get(), Qt::Key_E, Qt::AltModifier); // "&Edycja"
    QTRY_VERIFY(o.ui->edit0->isVisible());
}

void TestOknoPraca::pytanieOZamknieciu_data() {
    QTest::addColumn<QList<int>>("kroki");
    QTest::addColumn<bool>("definicje"); // the question names unsaved definitions
    QTest::addColumn<bool>("napisy");    // and unsaved labels
    QTest::newRow("nic") << QList<int>{} << false << false;
    QTest::newRow("zatwierdzenie bez zmiany") << QList<int>{Zatwierdz} << false << false;
    QTest::newRow("zatwierdzenie") << QList<int>{ZatwierdzFunkcje} << true << true;
    QTest::newRow("cofniete") << QList<int>{ZatwierdzFunkcje, Cofnij} << false << false;
    QTest::newRow("zapis definicji")
        << QList<int>{ZatwierdzFunkcje, ZapiszDefinicje} << false << true;
    QTest::newRow("zapis do kasy i napisow")
        << QList<int>{ZatwierdzFunkcje, ZapiszDoKasy, ZapiszNapisy} << false << false;
    QTest::newRow("odczyt z pliku") << QList<int>{OdczytajPlik} << false << false;
    QTest::newRow("odczyt z kasy") << QList<int>{ZatwierdzFunkcje, OdczytajZKasy} << false << false;
    QTest::newRow("napis") << QList<int>{WpiszNapis} << false << true;
    QTest::newRow("napis, potem odczyt") << QList<int>{WpiszNapis, OdczytajPlik} << false << true;
    QTest::newRow("kasowanie") << QList<int>{OdczytajPlik, Kasuj} << false << false;
    QTest::newRow("uklad domyslny")
        << QList<int>{WpiszNapis, ZapiszNapisy, UkladDomyslny} << false << true;
}

void TestOknoPraca::pytanieOZamknieciu() {
    QFETCH(QList<int>, kroki);
    QFETCH(bool, definicje);
    QFETCH(bool, napisy);
    Okno o;
    for (int k : kroki)
        o.krok(k);
    o.dialogi.wyczysc();
    o.dialogi.odpowiedzi = {Dialogi::Nie};
    o.okno->close();
    QCOMPARE(o.okno->isVisible(), definicje || napisy);
    if (!o.okno->isVisible()) {
        QVERIFY(o.dialogi.pokazane.empty());
        return;
    }
    const Dialogi::Komunikat k = o.dialogi.ostatni();
    QCOMPARE(k.przyciski, Dialogi::Tak | Dialogi::Nie);
    QStringList tekst;
    if (definicje)
        tekst << "Zmienionych definicji klawiszy nie zapisano ani do pliku, ani do kasy.";
    if (napisy)
        tekst << "Zmienionych napisów na klawiszach nie zapisano do pliku.";
    QCOMPARE(k.tekst, (tekst << "Czy mimo to zakończyć program?").join('\n'));
    o.dialogi.odpowiedzi = {Dialogi::Tak};
    o.okno->close();
    QVERIFY(!o.okno->isVisible());
}

void TestOknoPraca::cofanieOdtwarzaZapis_data() {
    QTest::addColumn<QList<int>>("zmiany");
    QTest::newRow("zatwierdzenie") << QList<int>{ZatwierdzFunkcje};
    QTest::newRow("odczyt z pliku") << QList<int>{OdczytajPlik};
    QTest::newRow("odczyt z kasy") << QList<int>{OdczytajZKasy};
    QTest::newRow("kasowanie") << QList<int>{Kasuj};
    QTest::newRow("uklad domyslny") << QList<int>{UkladDomyslny};
    QTest::newRow("dwa kroki") << QList<int>{Kasuj, UkladDomyslny};
}

// What a save writes after the undo is byte for byte what it wrote before the change.
void TestOknoPraca::cofanieOdtwarzaZapis() {
    QFETCH(QList<int>, zmiany);
    Okno o;
    o.klik(3);
    o.kliknij(o.ui->rgDefinicja->przycisk(3)); // F4: payment
    o.kliknij(o.ui->Button5);
    o.krok(WpiszNapis);
    const QByteArray przed = o.zapisane("przed");
    for (int k : zmiany)
        o.krok(k);
    QVERIFY(o.zapisane("zmiana") != przed);
    for (int i = 0; i < zmiany.size(); ++i)
        o.krok(Cofnij);
    QCOMPARE(o.zapisane("po"), przed);
    QVERIFY(o.ui->Edit1a->isVisible());
}

// In a text field Ctrl+Z undoes its typing first, then the window's last change.
void TestOknoPraca::cofanieWPoluTekstu() {
    Okno o;
    o.krok(ZatwierdzFunkcje);
    o.kliknij(o.ui->Button2);
    o.ui->Edit2->setFocus();
    QTest::keyClicks(o.ui->Edit2, "X");
    o.ctrl(Qt::Key_Z);
    QCOMPARE(o.ui->Edit2->text(), QString());
    QCOMPARE(o.stan.tabela.odczytaj(WarstwaBezposrednio, 0).Rodzaj, RodzajFunkcja);
    o.ctrl(Qt::Key_Z);
    QCOMPARE(o.stan.tabela.odczytaj(WarstwaBezposrednio, 0).Rodzaj, RodzajNiezdefiniowany);
}

QTEST_MAIN(TestOknoPraca)
#include "test_okno_praca.moc"
