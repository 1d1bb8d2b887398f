// Printing: the overlay comes out at its physical size at any printer resolution, at the top
// left of the printable area, as one page under the job title.

#include <QApplication>
#include <QPaintEngine>
#include <QPrintEngine>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "PomocPdf.h"
#include "core/BladProgramu.h"
#include "core/okno/Dialogi.h"
#include "overlay/ObrazyWkladki.h"
#include "overlay/okno/DrukWkladki.h"

class TestWydruk : public QObject {
    Q_OBJECT
private slots:
    void rozmiarZRozdzielczosci_data();
    void rozmiarZRozdzielczosci();
    void stronaPdfWRozmiarzeFizycznym_data();
    void stronaPdfWRozmiarzeFizycznym();
    void nieudanyPoczatekZadania();
    void nieudanyKoniecZadania();
    void podgladWRozmiarzeFizycznym();
};

namespace {

// A printer whose job starts and draws but whose page cannot be sent at the end.
class SilnikBezKonca : public QPaintEngine {
public:
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return false; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    Type type() const override { return User; }
};

class ZadanieBezKonca : public QPrintEngine {
public:
    void setProperty(PrintEnginePropertyKey, const QVariant&) override {}
    QVariant property(PrintEnginePropertyKey) const override { return {}; }
    bool newPage() override { return true; }
    bool abort() override { return true; }
    int metric(QPaintDevice::PaintDeviceMetric m) const override {
        switch (m) {
        case QPaintDevice::PdmDpiX:
        case QPaintDevice::PdmDpiY:
        case QPaintDevice::PdmPhysicalDpiX:
        case QPaintDevice::PdmPhysicalDpiY:
            return 300;
        case QPaintDevice::PdmWidth:
            return 2480;
        case QPaintDevice::PdmHeight:
            return 3508;
        case QPaintDevice::PdmDepth:
            return 32;
        case QPaintDevice::PdmDevicePixelRatioScaled:
            return int(QPaintDevice::devicePixelRatioFScale());
        default:
            return 1;
        }
    }
    QPrinter::PrinterState printerState() const override { return QPrinter::Idle; }
};

class DrukarkaBezKonca : public QPrinter {
public:
    DrukarkaBezKonca() { setEngines(&m_zadanie, &m_silnik); }

private:
    ZadanieBezKonca m_zadanie;
    SilnikBezKonca m_silnik;
};

} // namespace

void TestWydruk::rozmiarZRozdzielczosci_data() {
    QTest::addColumn<QSize>("bitmapa");
    QTest::addColumn<double>("dpiX");
    QTest::addColumn<double>("dpiY");
    QTest::addColumn<QSize>("rozmiar");
    QTest::newRow("300 dpi") << QSize(1311, 1214) << 300.0 << 300.0 << QSize(1311, 1214);
    QTest::newRow("600 dpi") << QSize(1311, 1214) << 600.0 << 600.0 << QSize(2622, 2428);
    QTest::newRow("600 x 300 dpi") << QSize(1311, 1214) << 600.0 << 300.0 << QSize(2622, 1214);
    QTest::newRow("360 x 180 dpi") << QSize(1311, 1214) << 360.0 << 180.0 << QSize(1573, 728);
    QTest::newRow("96 dpi, ucięte") << QSize(1311, 1214) << 96.0 << 96.0 << QSize(419, 388);
    QTest::newRow("lekarska 600 dpi") << QSize(1313, 1217) << 600.0 << 600.0 << QSize(2626, 2434);
}

void TestWydruk::rozmiarZRozdzielczosci() {
    QFETCH(QSize, bitmapa);
    QFETCH(double, dpiX);
    QFETCH(double, dpiY);
    QFETCH(QSize, rozmiar);
    QCOMPARE(rozmiarNaDrukarce(bitmapa, dpiX, dpiY), rozmiar);
}

void TestWydruk::stronaPdfWRozmiarzeFizycznym_data() {
    QTest::addColumn<int>("typ");
    QTest::addColumn<int>("rozdzielczosc");
    QTest::newRow("ogólna 1200 dpi") << int(WkladkaOgolna) << 1200;
    QTest::newRow("ogólna 600 dpi") << int(WkladkaOgolna) << 600;
    QTest::newRow("lekarska 1200 dpi") << int(WkladkaLekarska) << 1200;
}

void TestWydruk::stronaPdfWRozmiarzeFizycznym() {
    QFETCH(int, typ);
    QFETCH(int, rozdzielczosc);
    QTemporaryDir katalog;
    const QString pdf = katalog.filePath(QStringLiteral("wydruk.pdf"));
    QPrinter drukarka(QPrinter::HighResolution);
    drukarka.setOutputFormat(QPrinter::PdfFormat);
    drukarka.setOutputFileName(pdf);
    drukarka.setResolution(rozdzielczosc);
    const QImage& obraz = bitmapaWydruku(typ);
    drukujObraz(drukarka, obraz, QStringLiteral("TALMO Pixo E klawiatura"));

    const QList<QRectF> obrazy = obrazyNaStronie(pdf);
    QCOMPARE(obrazy.size(), 1);
    // 300 bitmap pixels to the inch, 72 points to the inch: 4.37 x 4.047 inches for the
    // general overlay, to within one printer pixel.
    const double jedenPiksel = 72.0 / rozdzielczosc;
    QVERIFY2(qAbs(obrazy[0].width() - obraz.width() * 72.0 / 300.0) <= jedenPiksel,
             qPrintable(QString::number(obrazy[0].width())));
    QVERIFY2(qAbs(obrazy[0].height() - obraz.height() * 72.0 / 300.0) <= jedenPiksel,
             qPrintable(QString::number(obrazy[0].height())));
    if (typ == WkladkaOgolna) {
        QVERIFY(qAbs(obrazy[0].width() - 314.64) < 0.1);
        QVERIFY(qAbs(obrazy[0].height() - 291.36) < 0.1);
    }
    // Its top-left corner is the printable area's (PDF counts y upwards from the bottom).
    const QRectF strona = drukarka.pageLayout().fullRectPoints();
    const QRectF obszar = drukarka.pageRect(QPrinter::Point);
    QVERIFY(qAbs(obrazy[0].left() - obszar.left()) < 0.5);
    QVERIFY(qAbs(strona.height() - obrazy[0].bottom() - obszar.top()) < 0.5);

    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    if (!info.waitForFinished(20000) || info.exitCode() != 0)
        QSKIP("pdfinfo is not available");
    const QString wyjscie = QString::fromUtf8(info.readAllStandardOutput());
    QVERIFY(
        wyjscie.contains(QRegularExpression(QStringLiteral("Title:\\s+TALMO Pixo E klawiatura"))));
    QVERIFY(wyjscie.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));

    // The image goes into the page whole: its own pixels at 300 per inch, stored losslessly.
    QProcess obrazyPdf;
    obrazyPdf.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    QVERIFY(obrazyPdf.waitForFinished(20000));
    const QStringList linie = QString::fromUtf8(obrazyPdf.readAllStandardOutput()).split('\n');
    QVERIFY(linie.size() >= 3);
    const QStringList pola = linie[2].simplified().split(' ');
    QCOMPARE(pola[3].toInt(), obraz.width());
    QCOMPARE(pola[4].toInt(), obraz.height());
    QCOMPARE(pola[8], QStringLiteral("image"));
    QCOMPARE(pola[12].toInt(), 300);
    QCOMPARE(pola[13].toInt(), 300);
}

void TestWydruk::nieudanyPoczatekZadania() {
    QPrinter drukarka(QPrinter::HighResolution);
    drukarka.setOutputFormat(QPrinter::PdfFormat);
    drukarka.setOutputFileName(QStringLiteral("/proc/wydruk.pdf"));
    QVERIFY_THROWS_EXCEPTION(
        BladProgramu, drukujObraz(drukarka, bitmapaWydruku(WkladkaOgolna), QStringLiteral("x")));
}

// A job whose page could not be sent is not taken as printed.
void TestWydruk::nieudanyKoniecZadania() {
    DrukarkaBezKonca drukarka;
    QVERIFY_THROWS_EXCEPTION(
        BladProgramu, drukujObraz(drukarka, bitmapaWydruku(WkladkaOgolna), QStringLiteral("x")));
}

// The real preview opens at 100 %, the page at its physical size, drawn by the caller.
void TestWydruk::podgladWRozmiarzeFizycznym() {
    QtDialogi dialogi;
    QPrinter drukarka(QPrinter::HighResolution);
    int rysowania = 0, strony = 0;
    qreal powiekszenie = 0;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (auto* podglad = d ? d->findChild<QPrintPreviewWidget*>() : nullptr) {
            powiekszenie = podglad->zoomFactor();
            strony = podglad->pageCount();
        }
        if (d)
            d->reject();
    });
    QVERIFY(!dialogi.podgladWydruku(nullptr, drukarka, [&](QPrinter& p) {
        ++rysowania;
        drukujObraz(p, bitmapaWydruku(WkladkaOgolna), QStringLiteral("podgląd"));
    }));
    QVERIFY(rysowania > 0);
    QCOMPARE(strony, 1);
    QCOMPARE(powiekszenie, 1.0);
}

QTEST_MAIN(TestWydruk)
#include "test_wydruk.moc"
