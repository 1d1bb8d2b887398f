// The overlay bitmap export: scale, rectangles, font, the drawn labels checked pixel by pixel
// on both print bitmaps, the written file's format, file names, and failed writes.

#include <QDir>
#include <QFontMetrics>
#include <QTemporaryDir>
#include <QtTest>

#include "PomocObrazow.h"
#include "PomocPlikow.h"
#include "core/BladProgramu.h"
#include "core/NazwyPlikow.h"
#include "overlay/EksportWkladki.h"
#include "overlay/ObrazyWkladki.h"
#include "overlay/PlikBitmapy.h"
#include "resources/ekran/ObrazWRozmiarze.h"

namespace {

const QSize kKontrolka(358, 406);

// GDI-style corners: right and bottom exclusive.
QList<int> rogi(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

QFont czcionkaOkna() {
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(12);
    return f;
}

QRgb piksel(const QImage& obraz, int x, int y) {
    return obraz.pixel(x, y) | 0xFF000000u;
}

int najblizszyWPalecie(const QImage& obraz, QColor c) {
    int najlepszy = -1;
    long najmniej = 0;
    for (int i = 0; i < obraz.colorCount(); ++i) {
        const QRgb p = obraz.color(i);
        const long d = (qRed(p) - c.red()) * (qRed(p) - c.red()) +
                       (qGreen(p) - c.green()) * (qGreen(p) - c.green()) +
                       (qBlue(p) - c.blue()) * (qBlue(p) - c.blue());
        if (najlepszy < 0 || d < najmniej) {
            najlepszy = i;
            najmniej = d;
        }
    }
    return najlepszy;
}

// Four labels with known rectangles, plus an empty one that must leave no trace.
std::vector<NapisEksportu> napisyProbne(QColor tlo) {
    return {{QStringLiteral("MENU    "), {12, 12}, false, tlo},
            {QStringLiteral("ZESTAW  "), {295, 12}, false, tlo},
            {QStringLiteral("ąę      "), {12, 28}, false, tlo},
            {QString(), {84, 28}, false, tlo},
            {QStringLiteral("X       "), {84, 95}, true, tlo}};
}

} // namespace

Q_DECLARE_METATYPE(std::vector<NapisEksportu>)

class TestEksport : public QObject {
    Q_OBJECT
private slots:
    void init();
    void obrazyWbudowane();
    void skalaIPowierzchnia();
    void prostokatyPrzykladowe();
    void prostokatyLekarskie();
    void rozmiarCzcionki_data();
    void rozmiarCzcionki();
    void dopelnianie();
    void pusteNapisyNieZmieniajaBitmapy();
    void napisyPikselPoPikselu_data();
    void napisyPikselPoPikselu();
    void tloNadWpisamiJednegoKoloru();
    void zapisanyPlikMaFormatWydruku_data();
    void zapisanyPlikMaFormatWydruku();
    void powierzchniaIBuforPonownie();
    void napisyPoprzedniegoEksportu_data();
    void napisyPoprzedniegoEksportu();
    void nazwyZastrzezone();
    void rozszerzenia();
    void nieudanyZapis();

private:
    std::unique_ptr<QTemporaryDir> m_katalog;
};

void TestEksport::init() {
    m_katalog = std::make_unique<QTemporaryDir>();
    QVERIFY(m_katalog->isValid());
}

void TestEksport::obrazyWbudowane() {
    // The pictures come from the program's resources even through a static link.
    QCOMPARE(bitmapaWydruku(WkladkaOgolna).size(), QSize(1311, 1214));
    QCOMPARE(bitmapaWydruku(WkladkaOgolna).format(), QImage::Format_Indexed8);
    QCOMPARE(bitmapaWydruku(WkladkaOgolna).colorCount(), 256);
    QCOMPARE(bitmapaWydruku(WkladkaLekarska).size(), QSize(1313, 1217));
    QCOMPARE(bitmapaWydruku(WkladkaLekarska).depth(), 32);
    // The window's icon is the build's decoded copy (read from the PNG it would be plain ARGB,
    // after loading every image plugin at start).
    QCOMPARE(ikonaOkna().size(), QSize(128, 128));
    QCOMPARE(ikonaOkna().format(), QImage::Format_ARGB32_Premultiplied);
    // Decoded straight to the control's size, the label windows stay under the edits.
    for (int typ : {int(WkladkaOgolna), int(WkladkaLekarska)}) {
        const QImage ekran = obrazEkranowy(typ, QSize(358, 406));
        QCOMPARE(ekran.size(), QSize(358, 406));
        // The build's decoded copy shows the very pixels the JPEG decodes to.
        QCOMPARE(ekran, obrazWRozmiarze(nazwaObrazuEkranowego(typ), QSize(358, 406)));
        QCOMPARE(obrazEkranowy(typ, QSize(300, 350)).size(), QSize(300, 350));
        const QColor srodekEdit0 = ekran.pixelColor(12 + 23, 12 + 8);
        const QColor oczekiwany = kolorNapisow(typ);
        QVERIFY(qAbs(srodekEdit0.red() - oczekiwany.red()) <= 6);
        QVERIFY(qAbs(srodekEdit0.blue() - oczekiwany.blue()) <= 6);
    }
    QCOMPARE(kolorNapisow(WkladkaOgolna), QColor(181, 180, 177));
    QCOMPARE(kolorNapisow(WkladkaLekarska), QColor(173, 171, 168));
}

void TestEksport::skalaIPowierzchnia() {
    QCOMPARE(powierzchniaEksportu(kKontrolka), QSize(437, 406));
    const SkalaEksportu s = skalaEksportu({1311, 1214}, kKontrolka);
    QCOMPARE(s.sx, 3.0);
    QCOMPARE(s.sy, 1214.0 / 406.0);
}

void TestEksport::prostokatyPrzykladowe() {
    const SkalaEksportu s = skalaEksportu({1311, 1214}, kKontrolka);
    QCOMPARE(rogi(prostokatNapisu({12, 12}, false, s)), (QList<int>{275, 35, 413, 83}));
    QCOMPARE(rogi(prostokatNapisu({12, 28}, false, s)), (QList<int>{275, 83, 413, 131}));
    QCOMPARE(rogi(prostokatNapisu({295, 12}, false, s)), (QList<int>{1124, 35, 1262, 83}));
    QCOMPARE(rogi(prostokatNapisu({84, 95}, true, s)), (QList<int>{491, 290, 629, 331}));
    // Every edit counts as 46 wide, whatever its own width; the one-line labels start 2
    // units lower than their edit, the two-line ones at its top.
    QCOMPARE(prostokatNapisu({153, 12}, false, s).width(), 138);
    QCOMPARE(prostokatNapisu({84, 95}, false, s).top(), 284);
}

void TestEksport::prostokatyLekarskie() {
    const SkalaEksportu s = skalaEksportu({1313, 1217}, kKontrolka);
    QCOMPARE(rogi(prostokatNapisu({12, 12}, false, s)), (QList<int>{275, 35, 413, 83}));
    QCOMPARE(rogi(prostokatNapisu({295, 28}, false, s)), (QList<int>{1125, 83, 1263, 131}));
    QCOMPARE(rogi(prostokatNapisu({295, 95}, true, s)), (QList<int>{1125, 290, 1263, 332}));
}

void TestEksport::rozmiarCzcionki_data() {
    QTest::addColumn<QFont>("ekranowa");
    QTest::addColumn<int>("piksele");
    QFont okno = czcionkaOkna();
    QTest::newRow("12 pikseli") << okno << 35;
    QFont punkty(QStringLiteral("DejaVu Sans"));
    punkty.setPointSize(9);
    QTest::newRow("9 punktów") << punkty << 35;
    punkty.setPointSize(8);
    QTest::newRow("8 punktów") << punkty << 31;
    punkty.setPointSize(20);
    QTest::newRow("20 punktów") << punkty << 79;
}

void TestEksport::rozmiarCzcionki() {
    QFETCH(QFont, ekranowa);
    QFETCH(int, piksele);
    ekranowa.setBold(true);
    ekranowa.setUnderline(true);
    const QFont f = ::czcionkaEksportu(ekranowa, 1214.0 / 406.0);
    QCOMPARE(f.pixelSize(), piksele);
    QCOMPARE(f.family(), ekranowa.family());
    QVERIFY(f.bold() && f.underline() && !f.italic());
    QCOMPARE(mnozDziel(26, 96, 72), 35);
    QCOMPARE(mnozDziel(11, 72, 96), 8);
    QCOMPARE(mnozDziel(-12, 72, 96), -9);
}

void TestEksport::dopelnianie() {
    QCOMPARE(dopelnijNapis(QStringLiteral("MENU")), QStringLiteral("MENU    "));
    QCOMPARE(dopelnijNapis(QString()), QStringLiteral("        "));
    QCOMPARE(dopelnijNapis(QStringLiteral("12345678")), QStringLiteral("12345678"));
    QCOMPARE(dopelnijNapis(QStringLiteral("123456789012")), QStringLiteral("123456789012"));
}

void TestEksport::pusteNapisyNieZmieniajaBitmapy() {
    for (int typ : {WkladkaOgolna, WkladkaLekarska}) {
        const QImage& wydruk = bitmapaWydruku(typ);
        std::vector<NapisEksportu> puste(14, NapisEksportu{QString(), {12, 12}, false, Qt::red});
        const QImage wynik = rysujNapisy(wydruk, puste, ::czcionkaEksportu(czcionkaOkna(), 3.0),
                                         Qt::black, skalaEksportu(wydruk.size(), kKontrolka));
        QCOMPARE(wynik, wydruk);
        const QString plik = m_katalog->filePath(QStringLiteral("pusty%1.bmp").arg(typ));
        zapiszBitmape(wynik, plik);
        const QImage wczytany(plik);
        QCOMPARE(wczytany.format(), wydruk.format());
        QCOMPARE(wczytany.colorTable(), wydruk.colorTable());
        QCOMPARE(wczytany, wydruk);
    }
}

void TestEksport::napisyPikselPoPikselu_data() {
    QTest::addColumn<int>("typ");
    QTest::newRow("ogólna, 8 bitów") << int(WkladkaOgolna);
    QTest::newRow("lekarska, 24 bity") << int(WkladkaLekarska);
}

void TestEksport::napisyPikselPoPikselu() {
    QFETCH(int, typ);
    const QImage& wydruk = bitmapaWydruku(typ);
    const SkalaEksportu s = skalaEksportu(wydruk.size(), kKontrolka);
    const QFont czcionka = ::czcionkaEksportu(czcionkaOkna(), s.sy);
    // Colours the artwork does not use, so that every drawn pixel shows.
    const QColor tlo(255, 0, 0);
    const QColor tekst(0, 0, 255);
    const auto napisy = napisyProbne(tlo);
    const QImage wynik = rysujNapisy(wydruk, napisy, czcionka, tekst, s);
    QCOMPARE(wynik.size(), wydruk.size());
    QCOMPARE(wynik.format(), wydruk.format());
    QCOMPARE(wynik.colorTable(), wydruk.colorTable());
    QCOMPARE(wynik.dotsPerMeterX(), wydruk.dotsPerMeterX());

    const QRgb oczekiwaneTlo = wynik.format() == QImage::Format_Indexed8
                                   ? wynik.color(najblizszyWPalecie(wynik, tlo)) | 0xFF000000u
                                   : tlo.rgb();
    const QFontMetrics fm(czcionka, &wynik);
    QRegion mozliweZmiany;
    for (const NapisEksportu& n : napisy) {
        if (n.tekst.isEmpty())
            continue;
        const QRect r = prostokatNapisu(n.polozenie, n.jednoliniowy, s);
        const QRect pudloTekstu(r.topLeft(), QSize(fm.horizontalAdvance(n.tekst), fm.height()));
        mozliweZmiany += r;
        mozliweZmiany += pudloTekstu;
        // The text cell is shorter than the rectangle: the rows under it are plain background.
        QVERIFY(fm.height() < r.height());
        for (int y = r.top() + fm.height(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                QCOMPARE(piksel(wynik, x, y), oczekiwaneTlo);
        // Inside the text cell every pixel is background, text colour or a blend of both;
        // some are text.
        int tekstowe = 0;
        for (int y = pudloTekstu.top(); y <= pudloTekstu.bottom(); ++y)
            for (int x = pudloTekstu.left(); x <= pudloTekstu.right(); ++x) {
                const QRgb p = piksel(wynik, x, y);
                QVERIFY2(qGreen(p) < 40, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
                tekstowe += qBlue(p) > 200 && qRed(p) < 60;
            }
        QVERIFY(tekstowe > 20);
    }
    // Nothing changes outside the rectangles and the text cells.
    int zmienione = 0;
    for (int y = 0; y < wynik.height(); ++y)
        for (int x = 0; x < wynik.width(); ++x)
            if (wynik.pixel(x, y) != wydruk.pixel(x, y)) {
                ++zmienione;
                if (!mozliweZmiany.contains(QPoint(x, y)))
                    QFAIL(qPrintable(QStringLiteral("piksel %1,%2 zmieniony").arg(x).arg(y)));
            }
    QVERIFY(zmienione > 4 * 138 * 40);
    // The worked rectangles' edges: first row and column inside drawn, the ones before not.
    QCOMPARE(piksel(wynik, 275, 82), oczekiwaneTlo);
    QCOMPARE(piksel(wynik, 274, 60), piksel(wydruk, 274, 60));
    QCOMPARE(piksel(wynik, 300, 34), piksel(wydruk, 300, 34));
    // Key 5 begins 2 units below its edit: rows 284 to 289 stay as they were.
    const QRect r5 = prostokatNapisu({84, 95}, true, s);
    for (int y = prostokatNapisu({84, 95}, false, s).top(); y < r5.top(); ++y)
        QCOMPARE(piksel(wynik, 495, y), piksel(wydruk, 495, y));
    QCOMPARE(piksel(wynik, r5.right(), r5.bottom()), oczekiwaneTlo);
}

void TestEksport::tloNadWpisamiJednegoKoloru() {
    // Entries 0 and 2 share the background's colour: under a label's background a pixel of
    // entry 2 keeps its index, one of another colour takes the first entry of that colour.
    QImage obraz(300, 20, QImage::Format_Indexed8);
    obraz.setColorTable({qRgb(255, 0, 0), qRgb(255, 255, 255), qRgb(255, 0, 0)});
    obraz.fill(1);
    for (int y = 0; y < obraz.height(); ++y)
        for (int x = 0; x < obraz.width(); x += 3)
            obraz.setPixel(x, y, 2);
    const SkalaEksportu s{1.0, 1.0};
    const QImage wynik =
        rysujNapisy(obraz, {{QStringLiteral("        "), {0, 0}, false, QColor(255, 0, 0)}},
                    czcionkaOkna(), Qt::black, s);
    const QRect r = prostokatNapisu({0, 0}, false, s);
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            QCOMPARE(wynik.pixelIndex(x, y), x % 3 == 0 ? 2 : 0);
    QCOMPARE(wynik.pixelIndex(r.left() - 1, 0), 1);
}

void TestEksport::zapisanyPlikMaFormatWydruku_data() {
    QTest::addColumn<int>("typ");
    QTest::addColumn<int>("bity");
    QTest::addColumn<int>("paleta");
    QTest::newRow("ogólna") << int(WkladkaOgolna) << 8 << 256;
    QTest::newRow("lekarska") << int(WkladkaLekarska) << 24 << 0;
}

void TestEksport::zapisanyPlikMaFormatWydruku() {
    QFETCH(int, typ);
    QFETCH(int, bity);
    QFETCH(int, paleta);
    const QImage& wydruk = bitmapaWydruku(typ);
    const SkalaEksportu s = skalaEksportu(wydruk.size(), kKontrolka);
    const QImage wynik = rysujNapisy(wydruk, napisyProbne(kolorNapisow(typ)),
                                     ::czcionkaEksportu(czcionkaOkna(), s.sy), Qt::black, s);
    const QString plik = m_katalog->filePath(QStringLiteral("napisy.bmp"));
    zapiszBitmape(wynik, plik);
    const NaglowekBmp n = czytajNaglowekBmp(plik);
    QVERIFY(n.poprawny);
    QCOMPARE(QSize(n.szerokosc, n.wysokosc), wydruk.size());
    QCOMPARE(n.bity, bity);
    QCOMPARE(n.kompresja, 0u);
    QCOMPARE(n.wpisyPalety, paleta);
    QCOMPARE(n.pikseliNaMetrX, kPikseliNaMetr);
    QCOMPARE(n.pikseliNaMetrY, kPikseliNaMetr);
    QCOMPARE(QImage(plik).convertToFormat(QImage::Format_RGB32),
             wynik.convertToFormat(QImage::Format_RGB32));
}

void TestEksport::powierzchniaIBuforPonownie() {
    // A file reused from an earlier export carries nothing of it over, and is what the
    // encoder makes of the bitmap that printing gets.
    const QImage& ogolna = bitmapaWydruku(WkladkaOgolna);
    const QImage& lekarska = bitmapaWydruku(WkladkaLekarska);
    const SkalaEksportu s = skalaEksportu(ogolna.size(), kKontrolka);
    const QFont f = ::czcionkaEksportu(czcionkaOkna(), s.sy);
    std::vector<NapisEksportu> inne = napisyProbne(Qt::red);
    for (auto& n : inne)
        if (!n.tekst.isEmpty())
            n.tekst = QStringLiteral("WWWWWWWW");
    const std::vector<NapisEksportu> puste(1);

    PlikBitmapy plik;
    for (const QImage* wydruk : {&ogolna, &lekarska}) {
        plik.rysuj(*wydruk, inne, f, Qt::black, s, kPikseliNaMetr);
        plik.rysuj(*wydruk, napisyProbne(Qt::green), f, Qt::black, s);
        const QImage obraz = plik.obraz();
        QCOMPARE(obraz, rysujNapisy(*wydruk, napisyProbne(Qt::green), f, Qt::black, s));
        QCOMPARE(obraz.format(), wydruk->format());
        QCOMPARE(plik.dane(), QByteArrayView(zakodujBmp(obraz)));
        plik.rysuj(*wydruk, puste, f, Qt::black, s);
        QCOMPARE(plik.obraz(), *wydruk);
        QCOMPARE(plik.dane(), QByteArrayView(zakodujBmp(*wydruk)));
    }
    plik.rysuj(ogolna, puste, f, Qt::black, s, kPikseliNaMetr);
    QCOMPARE(plik.obraz().dotsPerMeterY(), kPikseliNaMetr);

    // A larger 24-bit file in the buffer first, then the smaller 8-bit one.
    QByteArray bufor;
    zakodujBmp(lekarska, bufor);
    zakodujBmp(ogolna, bufor);
    QCOMPARE(bufor, zakodujBmp(ogolna));
}

void TestEksport::napisyPoprzedniegoEksportu_data() {
    QTest::addColumn<std::vector<NapisEksportu>>("poprzednie");
    QTest::addColumn<std::vector<NapisEksportu>>("napisy");
    const std::vector<NapisEksportu> probne = napisyProbne(Qt::green);
    auto zmienione = [&](std::size_t i, const QString& tekst, QColor tlo) {
        std::vector<NapisEksportu> n = probne;
        n[i].tekst = tekst;
        n[i].tlo = tlo;
        return n;
    };
    QTest::newRow("te same") << probne << probne;
    QTest::newRow("ostatni inny") << probne << zmienione(4, QStringLiteral("Y"), Qt::green);
    QTest::newRow("pierwszy inny") << probne << zmienione(0, QStringLiteral("Y"), Qt::green);
    QTest::newRow("inne tło") << probne << zmienione(2, probne[2].tekst, Qt::red);
    QTest::newRow("pusty zapełniony") << probne << zmienione(3, QStringLiteral("Y"), Qt::green);
    // The second label was drawn over the long first one: what it covered then holds the
    // first label's text, not the bitmap.
    const QString dlugi(16, QLatin1Char('W'));
    const std::vector<NapisEksportu> zachodzace = {{dlugi, {12, 28}, false, Qt::green},
                                                   {dlugi, {84, 28}, false, Qt::red}};
    std::vector<NapisEksportu> krotszy = zachodzace;
    krotszy[1].tekst = QStringLiteral("X");
    QTest::newRow("zachodzące") << zachodzace << krotszy;
}

void TestEksport::napisyPoprzedniegoEksportu() {
    // A file that keeps labels of the previous export ends as one drawn afresh.
    QFETCH(std::vector<NapisEksportu>, poprzednie);
    QFETCH(std::vector<NapisEksportu>, napisy);
    for (int typ : {WkladkaOgolna, WkladkaLekarska}) {
        const QImage& wydruk = bitmapaWydruku(typ);
        const SkalaEksportu s = skalaEksportu(wydruk.size(), kKontrolka);
        const QFont f = ::czcionkaEksportu(czcionkaOkna(), s.sy);
        PlikBitmapy plik;
        plik.rysuj(wydruk, poprzednie, f, Qt::black, s, kPikseliNaMetr);
        plik.rysuj(wydruk, napisy, f, Qt::black, s);
        QCOMPARE(plik.obraz(), rysujNapisy(wydruk, napisy, f, Qt::black, s));
        plik.rysuj(wydruk, napisy, f, Qt::blue, s);
        QCOMPARE(plik.obraz(), rysujNapisy(wydruk, napisy, f, Qt::blue, s));
    }
}

void TestEksport::nazwyZastrzezone() {
    for (const char* n : {"KONFIG.TXT", "konfig.txt", "Konfig.Txt", "/tmp/dane/KONFIG.TXT",
                          "RAPORT.TXT", "raport.TXT", "/a/b/c/raport.txt", "C:/x/RaPoRt.TxT"})
        QVERIFY2(zastrzezonaNazwa(QString::fromUtf8(n)), n);
    for (const char* n : {"KONFIG.bmp", "KONFIG", "KONFIG.TXT.bmp", "XKONFIG.TXT",
                          "/KONFIG.TXT/x.bmp", "RAPORT.TX", "KONFİG.TXT"})
        QVERIFY2(!zastrzezonaNazwa(QString::fromUtf8(n)), n);
}

void TestEksport::rozszerzenia() {
    QCOMPARE(zmienRozszerzenie(QStringLiteral("/dane/etykiety.txt"), QStringLiteral(".bmp")),
             QStringLiteral("/dane/etykiety.bmp"));
    QCOMPARE(zmienRozszerzenie(QStringLiteral("/dane/etykiety.bmp"), QStringLiteral(".bm0")),
             QStringLiteral("/dane/etykiety.bm0"));
    QCOMPARE(zmienRozszerzenie(QStringLiteral("a.tar.gz"), QStringLiteral(".bmp")),
             QStringLiteral("a.tar.bmp"));
    QCOMPARE(zmienRozszerzenie(QStringLiteral("/moje.dane/etykiety"), QStringLiteral(".bmp")),
             QStringLiteral("/moje.dane/etykiety.bmp"));
    QCOMPARE(zmienRozszerzenie(QStringLiteral("@#$.bmp"), QStringLiteral(".bm0")),
             QStringLiteral("@#$.bm0"));
    QCOMPARE(zmienRozszerzenie(QStringLiteral("/dane/etykiety."), QStringLiteral(".bmp")),
             QStringLiteral("/dane/etykiety.bmp"));
}

void TestEksport::nieudanyZapis() {
    const QImage& wydruk = bitmapaWydruku(WkladkaOgolna);
    QVERIFY_THROWS_EXCEPTION(BladProgramu, zapiszBitmape(wydruk, QStringLiteral("/proc/x.bmp")));
    QVERIFY_THROWS_EXCEPTION(
        BladProgramu, zapiszBitmape(wydruk, m_katalog->filePath(QStringLiteral("brak/x.bmp"))));
    // A full disk in the middle of the bitmap: the file under the name stays as it was.
    const QString plik = m_katalog->filePath(QStringLiteral("wkladka.bmp"));
    {
        QFile f(plik);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("poprzedni");
    }
    try {
        LimitRozmiaruPliku limit(100000);
        zapiszBitmape(wydruk, plik);
        QFAIL("the write did not fail");
    } catch (const BladProgramu& b) {
        QVERIFY(b.komunikat().contains(plik));
    }
    QFile f(plik);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("poprzedni"));
    QCOMPARE(QDir(m_katalog->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("wkladka.bmp")});
}

QTEST_MAIN(TestEksport)
#include "test_eksport.moc"
