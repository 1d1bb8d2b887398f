// Draws the two keyboard overlays and writes the four pictures the program embeds: the screen
// pictures (JPEG) and the print bitmaps (BMP) of the general and the medical overlay; and the
// window's icon (PNG) from the menu entry's SVG icon. The output
// is deterministic; the files are committed and this program is run only to change them.

#include "Naglowki.h"
#include "Wkladka.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kPikseliNaMetr = 11811; // 300 dpi

void blad(const QString& tekst) {
    std::fprintf(stderr, "pixo_artwork: %s\n", qPrintable(tekst));
    std::exit(1);
}

QImage nowyObraz(int w, int h) {
    QImage obraz(w, h, QImage::Format_RGB32);
    obraz.fill(Qt::white);
    obraz.setDotsPerMeterX(kPikseliNaMetr);
    obraz.setDotsPerMeterY(kPikseliNaMetr);
    return obraz;
}

void zapisz(const QImage& obraz, const QString& sciezka, const char* format, int jakosc) {
    QSaveFile plik(sciezka);
    if (!plik.open(QIODevice::WriteOnly)) {
        blad(QStringLiteral("nie można utworzyć %1: %2").arg(sciezka, plik.errorString()));
    }
    QImageWriter w(&plik, format);
    if (jakosc >= 0) {
        w.setQuality(jakosc);
    }
    if (!w.write(obraz) || !plik.commit()) {
        blad(QStringLiteral("nie zapisano %1: %2").arg(sciezka, w.errorString()));
    }
}

QByteArray wczytaj(const QString& sciezka) {
    QFile plik(sciezka);
    if (!plik.open(QIODevice::ReadOnly)) {
        blad(QStringLiteral("nie można odczytać %1").arg(sciezka));
    }
    return plik.readAll();
}

// The program and the printout depend on these header facts, and Qt's writers choose some of
// them on their own (bit depth from the palette size, resolution), so check what was written.
void sprawdzJpeg(const QString& sciezka, int w, int h) {
    const NaglowekJpeg n = czytajNaglowekJpeg(wczytaj(sciezka));
    if (!n.blad.isEmpty() || !n.jfif || n.jednostkiGestosci != 1 || n.gestoscX != 300 ||
        n.gestoscY != 300 || n.szerokosc != w || n.wysokosc != h || n.skladowe != 3) {
        blad(QStringLiteral("%1: JFIF %2, jednostki %3, gęstość %4 x %5, %6 x %7, składowe %8 %9")
                 .arg(sciezka)
                 .arg(n.jfif)
                 .arg(n.jednostkiGestosci)
                 .arg(n.gestoscX)
                 .arg(n.gestoscY)
                 .arg(n.szerokosc)
                 .arg(n.wysokosc)
                 .arg(n.skladowe)
                 .arg(n.blad));
    }
    std::printf("%s: JPEG JFIF %d x %d, %d składowe, %d x %d dpi\n", qPrintable(sciezka),
                n.szerokosc, n.wysokosc, n.skladowe, n.gestoscX, n.gestoscY);
}

void sprawdzBmp(const QString& sciezka, int w, int h, int bity) {
    const NaglowekBmp n = czytajNaglowekBmp(wczytaj(sciezka));
    const bool paletaDobra =
        bity == 8 ? n.wpisyPalety == 256 && (n.koloryUzyte == 0 || n.koloryUzyte == 256)
                  : n.wpisyPalety == 0;
    if (!n.blad.isEmpty() || n.szerokosc != w || n.wysokosc != h || n.bityNaPiksel != bity ||
        n.kompresja != 0 || n.pikseliNaMetrX != kPikseliNaMetr ||
        n.pikseliNaMetrY != kPikseliNaMetr || !paletaDobra) {
        blad(QStringLiteral("%1: %2 x %3, %4 bitów, kompresja %5, %6 x %7 ppm, paleta %8/%9 %10")
                 .arg(sciezka)
                 .arg(n.szerokosc)
                 .arg(n.wysokosc)
                 .arg(n.bityNaPiksel)
                 .arg(n.kompresja)
                 .arg(n.pikseliNaMetrX)
                 .arg(n.pikseliNaMetrY)
                 .arg(n.wpisyPalety)
                 .arg(n.koloryUzyte)
                 .arg(n.blad));
    }
    std::printf("%s: BMP %d x %d, %d bitów, kompresja %u, %d x %d ppm, paleta %d (biClrUsed %u)\n",
                qPrintable(sciezka), n.szerokosc, n.wysokosc, n.bityNaPiksel, n.kompresja,
                n.pikseliNaMetrX, n.pikseliNaMetrY, n.wpisyPalety, n.koloryUzyte);
}

void zaladujCzcionki() {
    const QString katalog = QStringLiteral("/usr/share/fonts/truetype/dejavu/");
    for (const char* plik : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSansCondensed.ttf",
                             "DejaVuSansCondensed-Bold.ttf"}) {
        if (QFontDatabase::addApplicationFont(katalog + QLatin1String(plik)) < 0) {
            blad(QStringLiteral("brak czcionki %1%2 (pakiet fonts-dejavu-core)")
                     .arg(katalog, QLatin1String(plik)));
        }
    }
}

// The window's icon: the menu entry's SVG icon drawn once at this size, so that the program
// shows it without SVG support of its own. Reading the SVG needs Qt's SVG image plugin
// (package libqt6svg6) here, and nowhere else.
constexpr int kRozmiarIkony = 128;

void zapiszIkone(const QString& sciezka) {
    QImageReader czytnik(QStringLiteral(PIXO_IKONA_SVG));
    czytnik.setScaledSize(QSize(kRozmiarIkony, kRozmiarIkony));
    const QImage ikona = czytnik.read();
    if (ikona.isNull()) {
        blad(QStringLiteral("nie można narysować %1: %2 (pakiet libqt6svg6)")
                 .arg(QStringLiteral(PIXO_IKONA_SVG), czytnik.errorString()));
    }
    zapisz(ikona, sciezka, "png", -1);
    std::printf("%s: PNG %d x %d\n", qPrintable(sciezka), ikona.width(), ikona.height());
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    zaladujCzcionki();
    const QString katalog = QDir::cleanPath(argc > 1 ? QString::fromLocal8Bit(argv[1])
                                                     : QStringLiteral(PIXO_KATALOG_OBRAZOW));
    if (!QDir().mkpath(katalog)) {
        blad(QStringLiteral("nie można utworzyć katalogu %1").arg(katalog));
    }
    const QDir dir(katalog);

    // General overlay: the screen picture, and the print bitmap made of it by adding the strip
    // at the left. The labels of the export land at Trunc(L*3.0 + 239), so the screen picture's
    // label windows also cover those places moved back by 239.
    const int ogW = 1072, ogH = 1214, ogDrukW = 1311;
    Odwzorowanie og;
    og.sx = double(ogW) / kSzerokoscOkna;
    og.sy = double(ogH) / kWysokoscOkna;
    og.esx = double(ogDrukW) / kSzerokoscEksportu;
    og.esy = double(ogH) / kWysokoscOkna;
    QImage ekranOg = nowyObraz(ogW, ogH);
    rysujWkladke(ekranOg, og, TypWkladki::Ogolna);

    QImage drukOg = nowyObraz(ogDrukW, ogH);
    rysujPasek(drukOg, TypWkladki::Ogolna);
    {
        QPainter p(&drukOg);
        p.drawImage(kPasekWydruku, 0, ekranOg);
    }
    // A full 256-entry table keeps Qt's BMP writer at 8 bits per pixel.
    QImage drukOg8 = drukOg.convertToFormat(QImage::Format_Indexed8, paleta256(),
                                            Qt::ThresholdDither | Qt::AvoidDither);
    if (drukOg8.colorCount() != 256) {
        blad(QStringLiteral("paleta ma %1 kolorów zamiast 256").arg(drukOg8.colorCount()));
    }
    drukOg8.setDotsPerMeterX(kPikseliNaMetr);
    drukOg8.setDotsPerMeterY(kPikseliNaMetr);

    // Medical overlay: both pictures drawn at their own scale.
    const int lekW = 1054, lekH = 1193, lekDrukW = 1313, lekDrukH = 1217;
    Odwzorowanie lek;
    lek.sx = double(lekW) / kSzerokoscOkna;
    lek.sy = double(lekH) / kWysokoscOkna;
    QImage ekranLek = nowyObraz(lekW, lekH);
    rysujWkladke(ekranLek, lek, TypWkladki::Lekarska);

    Odwzorowanie lekDruk;
    lekDruk.sx = lekDruk.esx = double(lekDrukW) / kSzerokoscEksportu;
    lekDruk.sy = lekDruk.esy = double(lekDrukH) / kWysokoscOkna;
    lekDruk.dx = kPasekWydruku;
    QImage drukLek = nowyObraz(lekDrukW, lekDrukH);
    rysujPasek(drukLek, TypWkladki::Lekarska);
    rysujWkladke(drukLek, lekDruk, TypWkladki::Lekarska);

    const QString pOgolna = dir.filePath(QStringLiteral("ogolna.jpg"));
    const QString pLekarska = dir.filePath(QStringLiteral("lekarska.jpg"));
    const QString pOgolnaDruk = dir.filePath(QStringLiteral("ogolna_wkladka.bmp"));
    const QString pLekarskaDruk = dir.filePath(QStringLiteral("lekarska_wkladka.bmp"));
    zapisz(ekranOg, pOgolna, "jpeg", 92);
    zapisz(ekranLek, pLekarska, "jpeg", 92);
    zapisz(drukOg8, pOgolnaDruk, "bmp", -1);
    zapisz(drukLek, pLekarskaDruk, "bmp", -1);

    sprawdzJpeg(pOgolna, ogW, ogH);
    sprawdzJpeg(pLekarska, lekW, lekH);
    sprawdzBmp(pOgolnaDruk, ogDrukW, ogH, 8);
    sprawdzBmp(pLekarskaDruk, lekDrukW, lekDrukH, 24);
    zapiszIkone(dir.filePath(QStringLiteral("ikona.png")));
    return 0;
}
