// The "Wygląd klawiatury" group driven through the main window's controls and the scripted
// dialogs: overlay type, "Edycja", "Układ domyślny", the font, export, label files, printing
// and their failures. Built twice: on the bare form with the controller alone, and on the
// real main window.

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "PomocObrazow.h"
#include "PomocPdf.h"
#include "PomocPlikow.h"
#include "app/WidokiFormy.h"
#include "core/BladProgramu.h"
#include "core/okno/OknoCzcionki.h"
#include "core/okno/SkryptDialogi.h"
#include "core/okno/TRadioGroup.h"
#include "keys/StanProgramu.h"
#include "overlay/EksportWkladki.h"
#include "overlay/ObrazyWkladki.h"
#include "overlay/PlikNapisow.h"
#include "overlay/okno/KontrolerWkladki.h"
#include "ui_TForm3.h"
#ifdef PIXO_TEST_TFORM3
#include "app/TAplikacja.h"
#include "app/TForm3.h"
#include "keys/okno/PanelKlawisza.h"
#endif

namespace {

struct Okno {
    StanProgramu stan;
    SkryptDialogi dialogi;
    int wyboryKlawisza0 = 0;
#ifdef PIXO_TEST_TFORM3
    std::unique_ptr<TForm3> forma;
#else
    std::unique_ptr<QWidget> forma;
    Ui::TForm3 formularz;
    std::unique_ptr<KontrolerWkladki> kontroler;
#endif
    Ui::TForm3* ui = nullptr;
    KontrolerWkladki* wkladka = nullptr;
    std::array<QLineEdit*, 14> edity{};

    Okno() {
#ifdef PIXO_TEST_TFORM3
        forma = std::make_unique<TForm3>(stan, dialogi);
        ui = forma->ui;
        wkladka = &forma->wkladka();
        const auto wybierz = wkladka->wybierzKlawisz0;
        wkladka->wybierzKlawisz0 = [this, wybierz] {
            ++wyboryKlawisza0;
            wybierz();
        };
#else
        forma = std::make_unique<QWidget>();
        ui = &formularz;
        ui->setupUi(forma.get());
        QFont f(QStringLiteral("MS Sans Serif"));
        f.setPixelSize(12);
        forma->setFont(f);
        ui->rgAlty->setItemIndex(3);
        ui->Typkasy->setItemIndex(0);
        kontroler =
            std::make_unique<KontrolerWkladki>(widokWkladki(forma.get(), *ui), stan, dialogi);
        wkladka = kontroler.get();
        wkladka->wybierzKlawisz0 = [this] { ++wyboryKlawisza0; };
#endif
        edity = {ui->edit0,  ui->edit0a, ui->Edit1,  ui->Edit1a, ui->Edit2, ui->Edit2a, ui->Edit3,
                 ui->Edit3a, ui->Edit4,  ui->Edit4a, ui->Edit5,  ui->Edit6, ui->Edit7,  ui->Edit8};
        forma->show();
#ifndef PIXO_TEST_TFORM3
        wkladka->TypkasyClick(); // the window's show handler does this
#endif
    }

    QLineEdit* edit(int klawisz, int linia = 0) const {
        return edity[indeksNapisu(klawisz, linia)];
    }
    QStringList teksty() const {
        QStringList t;
        for (auto* e : edity)
            t << e->text();
        return t;
    }
};

QColor tlo(const QLineEdit* e) {
    return e->palette().color(QPalette::Base);
}

QByteArray czytaj(const QString& sciezka) {
    QFile f(sciezka);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::function<bool(QPrinter&)> doPdf(const QString& sciezka) {
    return [sciezka](QPrinter& p) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(sciezka);
        return true;
    };
}

} // namespace

class TestOknoWkladki : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void typWkladki();
    void edycja();
    void ukladDomyslny();
    void czcionka();
    void ciemnaPaleta();
    void znakiSpoza1250();
    void wypelnianieNapisow();
    void eksportZNapisami();
    void eksportBezNapisow();
    void nazwyZastrzezone();
    void anulowanyEksport();
    void odczytPlikuNapisow();
    void dlugaLiniaWEdycji();
    void wydruk();
    void anulowanyWydruk();
    void podgladWydruku();
    void bledyZapisu();
    void bladWydruku();
#ifdef PIXO_TEST_TFORM3
    void raportBleduZPrzycisku();
#endif

private:
    std::unique_ptr<QTemporaryDir> m_katalog;
    QString m_poprzedniKatalog;
    std::unique_ptr<Okno> m_okno;
};

void TestOknoWkladki::init() {
    m_katalog = std::make_unique<QTemporaryDir>();
    QVERIFY(m_katalog->isValid());
    m_poprzedniKatalog = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_katalog->path()));
    m_okno = std::make_unique<Okno>();
}

void TestOknoWkladki::cleanup() {
    if (m_okno)
        QVERIFY2(m_okno->dialogi.nieoczekiwane.isEmpty(),
                 qPrintable(m_okno->dialogi.nieoczekiwane.join(QStringLiteral(", "))));
    m_okno.reset();
    QDir::setCurrent(m_poprzedniKatalog);
    m_katalog.reset();
}

void TestOknoWkladki::typWkladki() {
    Okno& o = *m_okno;
    QCOMPARE(o.ui->Typkasy->itemIndex(), 0);
    QCOMPARE(o.ui->iWkladka->size(), QSize(358, 406));
    const QImage ogolna = o.ui->iWkladka->pixmap().toImage();
    QCOMPARE(ogolna.size(), QSize(358, 406));
    for (auto* e : o.edity) {
        QCOMPARE(tlo(e), QColor(181, 180, 177));
        QVERIFY(e->isHidden());
    }
    o.edit(2)->setText(QStringLiteral("ABC"));
    o.edit(3)->show();
    o.ui->Typkasy->setItemIndex(1);
    QVERIFY(o.ui->iWkladka->pixmap().toImage() != ogolna);
    for (auto* e : o.edity)
        QCOMPARE(tlo(e), QColor(173, 171, 168));
    // Texts and visibility stay; hidden labels are only recoloured.
    QCOMPARE(o.edit(2)->text(), QStringLiteral("ABC"));
    QVERIFY(o.edit(2)->isHidden());
    QVERIFY(o.edit(3)->isVisible());
    o.ui->Typkasy->setItemIndex(0);
    QCOMPARE(o.ui->iWkladka->pixmap().toImage(), ogolna);
    QCOMPARE(tlo(o.edit(3)), QColor(181, 180, 177));
    QCOMPARE(o.wyboryKlawisza0, 0);
}

void TestOknoWkladki::edycja() {
    Okno& o = *m_okno;
    o.ui->Typkasy->setItemIndex(1);
    o.edit(0, 1)->setText(QStringLiteral("druga"));
    o.ui->Button2->click();
    for (auto* e : o.edity) {
        QVERIFY(e->isVisible());
        QCOMPARE(tlo(e), QColor(173, 171, 168));
    }
    QCOMPARE(o.edit(0, 1)->text(), QStringLiteral("druga"));
    QVERIFY(o.dialogi.pokazane.empty());
}

void TestOknoWkladki::ukladDomyslny() {
    Okno& o = *m_okno;
    o.ui->Button2->click();
    o.edit(1)->setText(QStringLiteral("MENU"));
    o.edit(6)->setText(QStringLiteral("X"));

    o.dialogi.odpowiedzi.push_back(Dialogi::Nie);
    o.ui->Button1->click();
    const auto pytanie = o.dialogi.ostatni();
    QCOMPARE(pytanie.tekst, QStringLiteral("Czy przywrócić domyślny uklad klawiszy?"));
    QCOMPARE(pytanie.tytul, QStringLiteral("Uwaga"));
    QCOMPARE(pytanie.ikona, Dialogi::Ikona::Pytanie);
    QCOMPARE(pytanie.przyciski, Dialogi::Tak | Dialogi::Nie);
    QCOMPARE(o.edit(1)->text(), QStringLiteral("MENU"));
    QVERIFY(o.edit(1)->isVisible());
    QCOMPARE(o.wyboryKlawisza0, 1);

    o.dialogi.odpowiedzi.push_back(Dialogi::Tak);
    o.ui->Button1->click();
    for (auto* e : o.edity) {
        QVERIFY(e->text().isEmpty());
        QVERIFY(e->isHidden());
    }
    QCOMPARE(o.wyboryKlawisza0, 2);
#ifdef PIXO_TEST_TFORM3
    // The real window puts the panel back on key F1.
    o.forma->panel().PokazKlawisz(3);
    o.dialogi.odpowiedzi.push_back(Dialogi::Nie);
    o.ui->Button1->click();
    QCOMPARE(o.ui->Klawisz->text(), QStringLiteral("F1"));
#endif
}

void TestOknoWkladki::czcionka() {
    Okno& o = *m_okno;
    o.edit(0)->show(); // the labels' face is fitted when the first one shows
    const QFont przed = o.edit(0)->font();
    QCOMPARE(przed.pixelSize(), 12);
    // The dialog starts on the labels' own font, and OK without a change keeps it whole.
    o.dialogi.czcionki.push_back(std::nullopt);
    o.ui->bCzcionka->click();
    QCOMPARE(o.dialogi.pokazane.back().czcionka.font, przed);
    QCOMPARE(o.dialogi.pokazane.back().czcionka.kolor, QColor(Qt::black));
    QCOMPARE(OknoCzcionki({przed, Qt::black}).wybrana().font, przed);
    for (auto* e : o.edity)
        QCOMPARE(e->font(), przed);

    QFont wybrana(QStringLiteral("DejaVu Serif"));
    wybrana.setPointSize(14);
    wybrana.setBold(true);
    wybrana.setUnderline(true);
    o.dialogi.czcionki.push_back(Czcionka{wybrana, QColor(200, 0, 0)});
    o.ui->bCzcionka->click();
    for (auto* e : o.edity) {
        QCOMPARE(e->font(), wybrana);
        QCOMPARE(e->palette().color(QPalette::Text), QColor(200, 0, 0));
    }
    o.dialogi.czcionki.push_back(std::nullopt);
    o.ui->bCzcionka->click();
    QCOMPARE(o.dialogi.pokazane.back().czcionka.font, wybrana);
    QCOMPARE(o.dialogi.pokazane.back().czcionka.kolor, QColor(200, 0, 0));

    // The export draws with it: red pixels in the first label's rectangle.
    o.edit(0)->setText(QStringLiteral("MMM"));
    o.dialogi.pliki.push_back(QDir::current().filePath(QStringLiteral("czcionka.bmp")));
    o.ui->BitBtn1->click();
    const QImage obraz(QStringLiteral("czcionka.bmp"));
    QVERIFY(!obraz.isNull());
    int czerwone = 0;
    for (int y = 35; y < 83; ++y)
        for (int x = 275; x < 413; ++x) {
            const QColor c = obraz.pixelColor(x, y);
            czerwone += c.red() > 150 && c.green() < 80 && c.blue() < 80;
        }
    QVERIFY2(czerwone > 50, qPrintable(QString::number(czerwone)));
}

// A dark desktop theme leaves the labels dark on their light key colours, on screen and in
// the exported bitmap.
void TestOknoWkladki::ciemnaPaleta() {
    m_okno.reset();
    const auto przywroc =
        qScopeGuard([p = QApplication::palette()] { QApplication::setPalette(p); });
    QApplication::setPalette(QPalette(Qt::white, QColor(30, 30, 30), Qt::gray, Qt::black,
                                      Qt::darkGray, Qt::white, Qt::black));
    m_okno = std::make_unique<Okno>();
    Okno& o = *m_okno;
    for (auto* e : o.edity) {
        QCOMPARE(e->palette().color(QPalette::Text), QColor(Qt::black));
        QCOMPARE(tlo(e), QColor(181, 180, 177));
    }
    // The export draws in Edit1's colours: no light pixel in its rectangle.
    o.edit(1)->setText(QStringLiteral("MMMM"));
    o.dialogi.pliki.push_back(QStringLiteral("ciemna.bmp"));
    o.ui->BitBtn1->click();
    const QImage obraz(QStringLiteral("ciemna.bmp"));
    int najjasniejszy = 0;
    for (int y = 35; y < 83; ++y)
        for (int x = 491; x < 629; ++x)
            najjasniejszy = std::max(najjasniejszy, obraz.pixelColor(x, y).lightness());
    QVERIFY2(najjasniejszy < 200, qPrintable(QString::number(najjasniejszy)));
}

// The label file holds code page 1250: a character it cannot hold is not taken, typed or
// pasted (the file would get "?" for it).
void TestOknoWkladki::znakiSpoza1250() {
    Okno& o = *m_okno;
    QLineEdit* e = o.edit(0);
    e->show();
    e->setFocus();
    for (const QChar c : QStringLiteral("Peña"))
        QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, QString(c), Qt::NoModifier);
    QGuiApplication::clipboard()->setText(QStringLiteral("漢"));
    e->paste();
    QGuiApplication::clipboard()->setText(QStringLiteral("ż"));
    e->paste();
    QCOMPARE(e->text(), QStringLiteral("Peaż"));
}

void TestOknoWkladki::wypelnianieNapisow() {
    Okno& o = *m_okno;
    TDefKlawisza funkcja;
    funkcja.Rodzaj = RodzajFunkcja;
    funkcja.Numer = 13;
    TDefKlawisza platnosc;
    platnosc.Rodzaj = RodzajPlatnosc;
    platnosc.Numer = 2;
    TDefKlawisza towar;
    towar.Rodzaj = RodzajTowar;
    towar.PLU = 7;
    o.stan.towary[7] = QByteArray("\xA5wiat\x88o X");
    o.stan.tabela.DefBezposrednio[0] = funkcja;
    o.stan.tabela.DefBezposrednio[1] = platnosc;
    o.stan.tabela.DefBezposrednio[2] = towar;
    o.stan.tabela.DefPrawyAlt[5] = platnosc;
    o.edit(1)->setText(QStringLiteral("MÓJ"));
    // The labels are cut without the clipboard: what the user copied stays there.
    QGuiApplication::clipboard()->setText(QStringLiteral("skopiowane"));
    o.wkladka->WypelnijNapisy(false);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("skopiowane"));
    QCOMPARE(o.edit(0)->text(), QStringLiteral("MENU"));
    QCOMPARE(o.edit(1)->text(), QStringLiteral("MÓJ"));
    QCOMPARE(o.edit(2)->text(), QStringLiteral("światł").replace(0, 1, QStringLiteral("ą")));
    QVERIFY(o.edit(0)->isVisible() && o.edit(3)->isVisible() && o.edit(0, 1)->isHidden());
    QVERIFY(o.edit(5)->isHidden());
    o.ui->rgAlty->setItemIndex(2);
    o.wkladka->WypelnijNapisy(true);
    QCOMPARE(o.edit(1)->text(), QStringLiteral("PŁATNO"));
    QCOMPARE(o.edit(5)->text(), QStringLiteral("PŁATNO"));
    QVERIFY(o.edit(5)->isVisible());
    QCOMPARE(o.edit(5)->maxLength(), 8);
}

void TestOknoWkladki::eksportZNapisami() {
    Okno& o = *m_okno;
    o.ui->Button2->click();
    o.edit(0)->setText(QStringLiteral("MENU"));
    o.edit(4)->setText(QStringLiteral("Żółć"));
    o.edit(0, 1)->setText(QStringLiteral("12345678"));
    o.edit(5)->setText(QStringLiteral("X"));
    const QString wybrana = QDir::current().filePath(QStringLiteral("etykiety.txt"));
    o.dialogi.pliki.push_back(wybrana);
    o.ui->BitBtn1->click();

    const auto& okno = o.dialogi.pokazane.back().plik;
    QCOMPARE(okno.filtr, QStringLiteral("Bitmaps (*.bmp)|*.bmp"));
    QCOMPARE(okno.katalog, m_katalog->path());
    QVERIFY(!QFile::exists(wybrana));
    const QString bmp = QDir::current().filePath(QStringLiteral("etykiety.bmp"));
    const QString bm0 = QDir::current().filePath(QStringLiteral("etykiety.bm0"));
    QVERIFY(QFile::exists(bmp) && QFile::exists(bm0));
    QCOMPARE(o.wkladka->nazwaZapisu(), bmp);

    // The labels were padded in their edits and in the file.
    QCOMPARE(o.edit(0)->text(), QStringLiteral("MENU    "));
    QCOMPARE(o.edit(4)->text(), QStringLiteral("Żółć    "));
    QCOMPARE(o.edit(0, 1)->text(), QStringLiteral("12345678"));
    QCOMPARE(o.edit(1)->text(), QString());
    QByteArray oczekiwany = "MENU    \r\n\r\n\r\n\r\n\xAF\xF3\xB3\xE6    \r\n12345678\r\n";
    oczekiwany += QByteArray("\r\n").repeated(4) + "X       \r\n" + QByteArray("\r\n").repeated(3);
    QCOMPARE(czytaj(bm0), oczekiwany);

    // The bitmap is the general print bitmap with the labels drawn inside their rectangles.
    const NaglowekBmp n = czytajNaglowekBmp(bmp);
    QCOMPARE(QSize(n.szerokosc, n.wysokosc), QSize(1311, 1214));
    QCOMPARE(n.bity, 8);
    QCOMPARE(n.wpisyPalety, 256);
    const QImage obraz(bmp);
    const QImage& wydruk = bitmapaWydruku(WkladkaOgolna);
    QCOMPARE(obraz.colorTable(), wydruk.colorTable());
    const QRegion miejsca = QRegion(QRect(QPoint(275, 35), QPoint(900, 130))) +
                            QRect(QPoint(1124, 35), QPoint(1310, 82)) +
                            QRect(QPoint(491, 290), QPoint(800, 330));
    int zmienione = 0;
    for (int y = 0; y < obraz.height(); ++y)
        for (int x = 0; x < obraz.width(); ++x)
            if (obraz.pixelIndex(x, y) != wydruk.pixelIndex(x, y)) {
                QVERIFY2(miejsca.contains(QPoint(x, y)),
                         qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
                ++zmienione;
            }
    QVERIFY(zmienione > 1000);
    // Empty labels draw nothing: Edit1's rectangle (491, 35)-(629, 83) is untouched.
    for (int y = 35; y < 83; ++y)
        for (int x = 500; x < 629; ++x)
            QCOMPARE(obraz.pixelIndex(x, y), wydruk.pixelIndex(x, y));

    // The next export offers the name just written, under a medical overlay in 24 bits.
    o.ui->Typkasy->setItemIndex(1);
    o.dialogi.pliki.push_back(QDir::current().filePath(QStringLiteral("lekarska")) + ".bmp");
    o.ui->BitBtn1->click();
    QCOMPARE(o.dialogi.pokazane.back().plik.nazwa, bmp);
    const NaglowekBmp l = czytajNaglowekBmp(QStringLiteral("lekarska.bmp"));
    QCOMPARE(QSize(l.szerokosc, l.wysokosc), QSize(1313, 1217));
    QCOMPARE(l.bity, 24);
    QCOMPARE(l.pikseliNaMetrX, 11811);
    QCOMPARE(czytaj(QStringLiteral("lekarska.bm0")), oczekiwany);
}

void TestOknoWkladki::eksportBezNapisow() {
    Okno& o = *m_okno;
    o.dialogi.pliki.push_back(QStringLiteral("pusta.bmp"));
    o.ui->BitBtn1->click();
    QCOMPARE(QImage(QStringLiteral("pusta.bmp")), bitmapaWydruku(WkladkaOgolna));
    QCOMPARE(czytaj(QStringLiteral("pusta.bm0")), QByteArray("\r\n").repeated(14));
    for (auto* e : o.edity)
        QVERIFY(e->text().isEmpty());
    o.ui->Typkasy->setItemIndex(1);
    o.dialogi.pliki.push_back(QStringLiteral("pusta2.bmp"));
    o.ui->BitBtn1->click();
    QCOMPARE(QImage(QStringLiteral("pusta2.bmp")), bitmapaWydruku(WkladkaLekarska));
    // A name ending in a dot has an empty extension, replaced like any other.
    o.dialogi.pliki.push_back(QStringLiteral("kropka."));
    o.ui->BitBtn1->click();
    QVERIFY(QFile::exists(QStringLiteral("kropka.bmp")) &&
            QFile::exists(QStringLiteral("kropka.bm0")));
}

void TestOknoWkladki::nazwyZastrzezone() {
    Okno& o = *m_okno;
    o.edit(0)->setText(QStringLiteral("MENU"));
    QDir().mkpath(QStringLiteral("dane"));
    const QStringList zastrzezone = {QStringLiteral("KONFIG.TXT"), QStringLiteral("konfig.txt"),
                                     QDir::current().filePath(QStringLiteral("dane/Raport.Txt"))};
    for (const QString& nazwa : zastrzezone) {
        o.dialogi.pliki.push_back(nazwa);
        o.ui->BitBtn1->click();
        QCOMPARE(o.dialogi.ostatni().tekst, nazwa + QStringLiteral(" : zastrzeżona nazwa pliku"));
        QCOMPARE(o.dialogi.ostatni().przyciski, int(Dialogi::Ok));
    }
    QCOMPARE(QDir::current().entryList(QDir::Files | QDir::Hidden), QStringList());
    QCOMPARE(QDir(QStringLiteral("dane")).entryList(QDir::Files | QDir::Hidden), QStringList());
    QCOMPARE(o.edit(0)->text(), QStringLiteral("MENU"));
    // The base name alone is no reserved name.
    o.dialogi.pliki.push_back(QStringLiteral("KONFIG.bmp"));
    o.ui->BitBtn1->click();
    QCOMPARE(QDir::current().entryList(QDir::Files | QDir::Hidden),
             (QStringList{QStringLiteral("KONFIG.bm0"), QStringLiteral("KONFIG.bmp")}));
}

void TestOknoWkladki::anulowanyEksport() {
    Okno& o = *m_okno;
    o.edit(0)->setText(QStringLiteral("MENU"));
    o.dialogi.pliki.push_back(std::nullopt);
    o.ui->BitBtn1->click();
    QCOMPARE(QDir::current().entryList(QDir::Files | QDir::Hidden), QStringList());
    QCOMPARE(o.edit(0)->text(), QStringLiteral("MENU"));
}

void TestOknoWkladki::odczytPlikuNapisow() {
    Okno& o = *m_okno;
    // Written by an export, read back: the same texts with their blanks.
    o.edit(0)->setText(QStringLiteral("ąę"));
    o.edit(3, 1)->setText(QStringLiteral("ŚĆ"));
    o.edit(8)->setText(QStringLiteral("1234567"));
    o.dialogi.pliki.push_back(QStringLiteral("runda.bmp"));
    o.ui->BitBtn1->click();
    const QStringList poEksporcie = o.teksty();
    for (auto* e : o.edity) {
        e->clear();
        e->hide();
    }
    o.dialogi.pliki.push_back(QDir::current().filePath(QStringLiteral("runda.bm0")));
    o.ui->BitBtnOdczyt->click();
    QCOMPARE(o.dialogi.pokazane.back().plik.filtr,
             QStringLiteral("Definicje tekstów na klawiszach (*.bm0)|*.bm0"));
    QCOMPARE(o.teksty(), poEksporcie);
    QCOMPARE(o.edit(0)->text(), QStringLiteral("ąę      "));
    for (auto* e : o.edity)
        QVERIFY(e->isVisible());

    // A short file: the missing lines empty the edits; over-long lines are kept whole.
    QFile plik(QStringLiteral("krotki.bm0"));
    QVERIFY(plik.open(QIODevice::WriteOnly));
    plik.write("PIERWSZY LINIA\r\n\xA3\xF3\x64\x9F\r\n");
    plik.close();
    o.dialogi.pliki.push_back(QStringLiteral("krotki.bm0"));
    o.ui->BitBtnOdczyt->click();
    QCOMPARE(o.edit(0)->text(), QStringLiteral("PIERWSZY LINIA"));
    QCOMPARE(o.edit(1)->text(), QStringLiteral("Łódź"));
    for (int i = 2; i < 14; ++i)
        QCOMPARE(o.edity[kKolejnoscPliku[i]]->text(), QString());
    QCOMPARE(o.wkladka->nazwaOdczytu(), QStringLiteral("krotki.bm0"));

    // A file that cannot be opened is an error for the report; the edits stay.
    o.dialogi.pliki.push_back(QStringLiteral("brak.bm0"));
    QVERIFY_THROWS_EXCEPTION(BladProgramu, o.wkladka->BitBtnOdczytClick());
    QCOMPARE(o.edit(0)->text(), QStringLiteral("PIERWSZY LINIA"));

    // Cancelled: nothing changes.
    o.dialogi.pliki.push_back(std::nullopt);
    o.ui->BitBtnOdczyt->click();
    QCOMPARE(o.edit(0)->text(), QStringLiteral("PIERWSZY LINIA"));
}

void TestOknoWkladki::dlugaLiniaWEdycji() {
    Okno& o = *m_okno;
    QFile plik(QStringLiteral("dlugi.bm0"));
    QVERIFY(plik.open(QIODevice::WriteOnly));
    plik.write("123456789012\r\n");
    plik.close();
    o.dialogi.pliki.push_back(QStringLiteral("dlugi.bm0"));
    o.ui->BitBtnOdczyt->click();
    QLineEdit* e = o.edit(0);
    QCOMPARE(e->text(), QStringLiteral("123456789012"));
    // Typing adds nothing until the text is shorter than 8 characters.
    e->setFocus();
    e->end(false);
    QTest::keyClicks(e, QStringLiteral("X"));
    QCOMPARE(e->text(), QStringLiteral("123456789012"));
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(e, Qt::Key_Backspace);
    QCOMPARE(e->text(), QStringLiteral("1234567"));
    QTest::keyClicks(e, QStringLiteral("ABC"));
    QCOMPARE(e->text(), QStringLiteral("1234567A"));

    // Typing in the middle keeps the cursor where it is, and Ctrl+Z undoes the typing.
    e->clear();
    QTest::keyClicks(e, QStringLiteral("ABCD"));
    QTest::keyClick(e, Qt::Key_Home);
    QTest::keyClicks(e, QStringLiteral("XZ"));
    QCOMPARE(e->text(), QStringLiteral("XZABCD"));
    QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY2(e->text().size() < 6, qPrintable(e->text()));
}

void TestOknoWkladki::wydruk() {
    Okno& o = *m_okno;
    o.edit(0)->setText(QStringLiteral("MENU"));
    const QString pdf1 = m_katalog->filePath(QStringLiteral("strona1.pdf"));
    const QString pdf2 = m_katalog->filePath(QStringLiteral("strona2.pdf"));
    o.dialogi.drukarki.push_back(doPdf(pdf1));
    o.ui->bbDrukuj->click();
    QVERIFY(!QFile::exists(QStringLiteral("@#$.bmp")));
    QVERIFY(QFile::exists(QStringLiteral("@#$.bm0")));
    QVERIFY(o.stan.PlikWydruku.isEmpty());
    QCOMPARE(o.edit(0)->text(), QStringLiteral("MENU    "));
    QCOMPARE(o.wkladka->nazwaZapisu(), QStringLiteral("@#$.bmp"));
    QCOMPARE(czytaj(QStringLiteral("@#$.bm0")).left(10), QByteArray("MENU    \r\n"));

    o.dialogi.drukarki.push_back(doPdf(pdf2));
    o.ui->bbDrukuj->click();
    QVERIFY(!QFile::exists(QStringLiteral("@#$.bmp")));
    const QList<QRectF> strona1 = obrazyNaStronie(pdf1);
    const QList<QRectF> strona2 = obrazyNaStronie(pdf2);
    QCOMPARE(strona1.size(), 1);
    QCOMPARE(strona2, strona1);
    QVERIFY(qAbs(strona1[0].width() - 314.64) < 0.1);
    QVERIFY(qAbs(strona1[0].height() - 291.36) < 0.1);

    // A later export asks for its name again, offering the temporary one.
    o.dialogi.pliki.push_back(std::nullopt);
    o.ui->BitBtn1->click();
    QCOMPARE(o.dialogi.pokazane.back().rodzaj, SkryptDialogi::Pokazany::Rodzaj::ZapiszPlik);
    QCOMPARE(o.dialogi.pokazane.back().plik.nazwa, QStringLiteral("@#$.bmp"));
}

// The preview, asked for with the right button on "Wydruk", shows the page printing sends, made
// as printing makes it (no print dialog first); printing from it sends that page.
void TestOknoWkladki::podgladWydruku() {
    Okno& o = *m_okno;
    o.edit(0)->setText(QStringLiteral("MENU"));
    const QString wydruk = m_katalog->filePath(QStringLiteral("wydruk.pdf"));
    const QString podglad = m_katalog->filePath(QStringLiteral("podglad.pdf"));
    const QString zPodgladu = m_katalog->filePath(QStringLiteral("z-podgladu.pdf"));
    o.dialogi.drukarki.push_back(doPdf(wydruk));
    o.ui->bbDrukuj->click();

    bool tymczasowyWPodgladzie = true;
    o.dialogi.podglady.push_back([&](QPrinter& drukarka, const auto& rysuj) {
        QPrinter strona(QPrinter::HighResolution);
        doPdf(podglad)(strona);
        rysuj(strona);
        tymczasowyWPodgladzie = QFile::exists(QStringLiteral("@#$.bmp"));
        doPdf(zPodgladu)(drukarka); // the user prints from the preview
        rysuj(drukarka);
        return true;
    });
    o.dialogi.wyczysc();
    emit o.ui->bbDrukuj->customContextMenuRequested({});
    QCOMPARE(o.dialogi.pokazane.size(), 1u);
    QCOMPARE(o.dialogi.pokazane[0].rodzaj, SkryptDialogi::Pokazany::Rodzaj::Podglad);
    QVERIFY(!tymczasowyWPodgladzie);
    QVERIFY(o.stan.PlikWydruku.isEmpty());
    QCOMPARE(o.edit(0)->text(), QStringLiteral("MENU    "));

    const auto strona = [](const QString& pdf) {
        QProcess p;
        p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("40"), pdf});
        return p.waitForFinished(20000) ? p.readAllStandardOutput() : QByteArray();
    };
    QVERIFY(!strona(wydruk).isEmpty());
    for (const QString& pdf : {podglad, zPodgladu}) {
        QCOMPARE(obrazyNaStronie(pdf), obrazyNaStronie(wydruk));
        QVERIFY2(strona(pdf) == strona(wydruk), qPrintable(pdf));
    }
}

void TestOknoWkladki::anulowanyWydruk() {
    Okno& o = *m_okno;
    o.edit(0)->setText(QStringLiteral("MENU"));
    o.dialogi.drukarki.push_back([](QPrinter&) { return false; });
    o.ui->bbDrukuj->click();
    QCOMPARE(QDir::current().entryList(QDir::Files | QDir::Hidden), QStringList());
    QCOMPARE(o.edit(0)->text(), QStringLiteral("MENU"));
    QVERIFY(o.stan.PlikWydruku.isEmpty());
}

void TestOknoWkladki::bledyZapisu() {
    Okno& o = *m_okno;
    o.edit(0)->setText(QStringLiteral("MENU"));
    // A folder nobody may write to.
    o.dialogi.pliki.push_back(QStringLiteral("/proc/etykiety.bmp"));
    QVERIFY_THROWS_EXCEPTION(BladProgramu, o.wkladka->BitBtn1Click());
    QVERIFY(!QFile::exists(QStringLiteral("/proc/etykiety.bmp")));
    QCOMPARE(QDir::current().entryList(QDir::Files | QDir::Hidden), QStringList());
    // A full disk: the bitmap already under the name stays as it was, nothing else appears.
    {
        QFile f(QStringLiteral("stara.bmp"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("stara");
    }
    o.dialogi.pliki.push_back(QStringLiteral("stara.bmp"));
    {
        LimitRozmiaruPliku limit(200000);
        QVERIFY_THROWS_EXCEPTION(BladProgramu, o.wkladka->BitBtn1Click());
    }
    QCOMPARE(czytaj(QStringLiteral("stara.bmp")), QByteArray("stara"));
    QCOMPARE(QDir::current().entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("stara.bmp")});
    // The edits were not padded by the failed export.
    QCOMPARE(o.edit(0)->text(), QStringLiteral("MENU"));
}

void TestOknoWkladki::bladWydruku() {
    Okno& o = *m_okno;
    o.edit(0)->setText(QStringLiteral("MENU"));
    const QString pdf = m_katalog->filePath(QStringLiteral("wydruk.pdf"));
    // The working directory cannot take the temporary bitmap.
    QVERIFY(QDir::setCurrent(QStringLiteral("/proc")));
    o.dialogi.drukarki.push_back(doPdf(pdf));
    QVERIFY_THROWS_EXCEPTION(BladProgramu, o.wkladka->bbDrukujClick());
    QVERIFY(QDir::setCurrent(m_katalog->path()));
    QVERIFY(o.stan.PlikWydruku.isEmpty());
    QVERIFY(!QFile::exists(pdf));
    // A full disk while the temporary is written: no temporary stays, nothing is printed.
    o.dialogi.drukarki.push_back(doPdf(pdf));
    {
        LimitRozmiaruPliku limit(200000);
        QVERIFY_THROWS_EXCEPTION(BladProgramu, o.wkladka->bbDrukujClick());
    }
    QVERIFY(o.stan.PlikWydruku.isEmpty());
    QVERIFY(!QFile::exists(pdf));
    QCOMPARE(QDir::current().entryList(QDir::Files | QDir::Hidden), QStringList());
    // Then the export asks for a name again.
    o.dialogi.pliki.push_back(std::nullopt);
    o.ui->BitBtn1->click();
    QCOMPARE(o.dialogi.pokazane.back().rodzaj, SkryptDialogi::Pokazany::Rodzaj::ZapiszPlik);
}

#ifdef PIXO_TEST_TFORM3
void TestOknoWkladki::raportBleduZPrzycisku() {
    // A failed export by a click ends in the application-wide report; the window stays.
    Okno& o = *m_okno;
    auto* app = qobject_cast<TAplikacja*>(qApp);
    QVERIFY(app);
    app->ustawObslugeBledow(&o.dialogi, o.forma.get());
    o.edit(0)->setText(QStringLiteral("MENU"));
    o.dialogi.pliki.push_back(QStringLiteral("/proc/etykiety.bmp"));
    o.dialogi.odpowiedzi.push_back(Dialogi::Nie);
    QTest::mouseClick(o.ui->BitBtn1, Qt::LeftButton);
    const auto raport = o.dialogi.ostatni();
    QCOMPARE(raport.tytul, QStringLiteral("Błąd wykonania programu"));
    QVERIFY2(raport.tekst.startsWith(
                 QStringLiteral("Wystąpił wyjątek: \r"
                                "Nie można utworzyć pliku \"/proc/etykiety.bmp\": ")),
             qPrintable(raport.tekst));
    QVERIFY(o.forma->isVisible());
    // Printing with an unwritable working folder: reported, nothing printed, name cleared.
    const QString pdf = m_katalog->filePath(QStringLiteral("wydruk.pdf"));
    QVERIFY(QDir::setCurrent(QStringLiteral("/proc")));
    o.dialogi.drukarki.push_back(doPdf(pdf));
    o.dialogi.odpowiedzi.push_back(Dialogi::Nie);
    QTest::mouseClick(o.ui->bbDrukuj, Qt::LeftButton);
    QVERIFY(QDir::setCurrent(m_katalog->path()));
    QVERIFY(o.dialogi.ostatni().tekst.contains(QStringLiteral("@#$.bmp")));
    QVERIFY(o.stan.PlikWydruku.isEmpty());
    QVERIFY(!QFile::exists(pdf));
    app->ustawObslugeBledow(nullptr, nullptr);
}

int main(int argc, char** argv) {
    TAplikacja app(argc, argv);
    TestOknoWkladki test;
    return QTest::qExec(&test, argc, argv);
}
#else
QTEST_MAIN(TestOknoWkladki)
#endif
#include "test_okno_wkladki.moc"
