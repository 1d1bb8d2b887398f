// The animated cursor reader: frames, hotspots, step times and order from well-formed files of
// every colour depth, and "not loaded" without a crash for every kind of damaged file.

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include "BudowaAni.h"
#include "core/okno/PlikAni.h"

using namespace budowa;

namespace {

const QRgb kCzerwony = qRgb(200, 20, 30);
const QRgb kZielony = qRgb(10, 180, 40);
const QRgb kNiebieski = qRgb(20, 40, 220);

// Three 32 x 32 cursors with their own colours and hotspots, four steps in a chosen order.
OpisAni trzyKlatki() {
    OpisAni o;
    o.ikony = {kursor(obrazProbny(kCzerwony), {0, 0}), kursor(obrazProbny(kZielony), {15, 16}),
               kursor(obrazProbny(kNiebieski), {31, 31})};
    o.rate = QList<quint32>{2, 4, 6, 3};
    o.seq = QList<quint32>{0, 2, 1, 2};
    return o;
}

// What every loaded animation must satisfy, whatever file it came from.
void sprawdzSpojnosc(const AnimacjaAni& a) {
    QVERIFY(!a.klatki.isEmpty());
    QVERIFY(!a.kroki.isEmpty());
    QVERIFY(a.klatki.size() <= PlikAni::kMaksKlatek);
    for (const KlatkaAni& k : a.klatki) {
        QVERIFY(!k.obraz.isNull());
        QVERIFY(k.obraz.width() <= PlikAni::kMaksBok && k.obraz.height() <= PlikAni::kMaksBok);
        QVERIFY(k.obraz.rect().contains(k.punktAktywny));
    }
    for (const KrokAni& s : a.kroki) {
        QVERIFY(s.klatka >= 0 && s.klatka < a.klatki.size());
        QVERIFY(s.jiffies >= 1 && s.jiffies <= PlikAni::kMaksJiffies);
    }
}

// The file with one anih field replaced (fields counted from cbSize = 0).
QByteArray zPolemAnih(QByteArray plik, int pole, quint32 wartosc) {
    const qsizetype anih = plik.indexOf("anih");
    QByteArray v;
    u32(v, wartosc);
    plik.replace(anih + 8 + 4 * pole, 4, v);
    return plik;
}

} // namespace

class TestPlikAni : public QObject {
    Q_OBJECT
private slots:
    void klatkiPunktyICzasy();
    void bezRateISeq();
    void glebieBarw_data();
    void glebieBarw();
    void pikselOdwracajacy();
    void klatkaPng();
    void ikonaWskazujeSrodkiem();
    void wyborRozmiaru();
    void surowaKlatkaBezAfIcon();
    void obcietyPrzyKazdejDlugosci();
    void uszkodzone_data();
    void uszkodzone();
    void limitPikseli();
    void losoweUszkodzenia();
    void plikZDysku();
    void plikDemonstracyjny();
};

void TestPlikAni::klatkiPunktyICzasy() {
    const auto a = PlikAni::czytaj(ani(trzyKlatki()));
    QVERIFY(a);
    sprawdzSpojnosc(*a);
    QCOMPARE(a->klatki.size(), 3);
    const QRgb kolory[] = {kCzerwony, kZielony, kNiebieski};
    const QPoint punkty[] = {{0, 0}, {15, 16}, {31, 31}};
    for (int i = 0; i < 3; ++i) {
        const QImage& o = a->klatki[i].obraz;
        QCOMPARE(o.size(), QSize(32, 32));
        QCOMPARE(o.format(), QImage::Format_ARGB32);
        QCOMPARE(o.pixel(20, 20), kolory[i]);
        QCOMPARE(o.pixel(31, 0), kolory[i]); // top-right: the rows are not upside down
        QCOMPARE(qAlpha(o.pixel(0, 0)), 0);  // the transparent corner is top-left
        QCOMPARE(qAlpha(o.pixel(3, 3)), 0);
        QCOMPARE(qAlpha(o.pixel(4, 3)), 255);
        QCOMPARE(a->klatki[i].punktAktywny, punkty[i]);
    }
    QCOMPARE(a->kroki.size(), 4);
    const int klatki[] = {0, 2, 1, 2};
    const int jiffies[] = {2, 4, 6, 3};
    const int ms[] = {33, 66, 100, 50};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(a->kroki[i].klatka, klatki[i]);
        QCOMPARE(a->kroki[i].jiffies, jiffies[i]);
        QCOMPARE(a->kroki[i].czasMs(), ms[i]);
    }
}

void TestPlikAni::bezRateISeq() {
    OpisAni o = trzyKlatki();
    o.rate.reset();
    o.seq.reset();
    o.domyslnyCzas = 5;
    auto a = PlikAni::czytaj(ani(o));
    QVERIFY(a);
    QCOMPARE(a->kroki.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(a->kroki[i].klatka, i);
        QCOMPARE(a->kroki[i].jiffies, 5);
    }
    // Fewer steps than frames is allowed; zero or absurd times are bounded.
    o.liczbaKrokow = 2;
    o.domyslnyCzas = 0;
    a = PlikAni::czytaj(ani(o));
    QVERIFY(a);
    QCOMPARE(a->kroki.size(), 2);
    QCOMPARE(a->kroki[0].jiffies, 1);
    QCOMPARE(a->kroki[0].czasMs(), 16);
    o.domyslnyCzas = 0xffffffffu;
    a = PlikAni::czytaj(ani(o));
    QVERIFY(a);
    QCOMPARE(a->kroki[1].jiffies, PlikAni::kMaksJiffies);
    // A rate of 0 in the rate chunk counts as the shortest step too.
    o = trzyKlatki();
    o.rate = QList<quint32>{0, 1, 2, 3};
    a = PlikAni::czytaj(ani(o));
    QVERIFY(a);
    QCOMPARE(a->kroki[0].jiffies, 1);
}

void TestPlikAni::glebieBarw_data() {
    QTest::addColumn<int>("bpp");
    QTest::addColumn<bool>("bezAlfy");
    QTest::addColumn<int>("szer");
    QTest::addColumn<int>("wys");
    QTest::newRow("1 bit") << 1 << false << 32 << 32;
    QTest::newRow("1 bit, width not a multiple of 32") << 1 << false << 13 << 7;
    QTest::newRow("4 bits") << 4 << false << 32 << 32;
    QTest::newRow("4 bits, odd width") << 4 << false << 9 << 5;
    QTest::newRow("8 bits") << 8 << false << 32 << 32;
    QTest::newRow("8 bits, odd width") << 8 << false << 7 << 3;
    QTest::newRow("24 bits") << 24 << false << 32 << 32;
    QTest::newRow("24 bits, odd width") << 24 << false << 5 << 6;
    QTest::newRow("32 bits with alpha") << 32 << false << 32 << 32;
    QTest::newRow("32 bits, alpha all zero: the mask decides") << 32 << true << 17 << 17;
    QTest::newRow("48 x 48") << 32 << false << 48 << 48;
}

void TestPlikAni::glebieBarw() {
    QFETCH(int, bpp);
    QFETCH(bool, bezAlfy);
    QFETCH(int, szer);
    QFETCH(int, wys);
    // A pattern of transparent, black and (from 4 bits) three colours, different in every row
    // and column, so that stride, bit order or row order mistakes show.
    const QList<QRgb> barwy =
        bpp == 1 ? QList<QRgb>{qRgb(255, 255, 255)} : QList<QRgb>{kCzerwony, kZielony, kNiebieski};
    QImage wzor(szer, wys, QImage::Format_ARGB32);
    for (int y = 0; y < wys; ++y)
        for (int x = 0; x < szer; ++x) {
            const int k = (x * 3 + y * 5 + x * y) % (barwy.size() + 2);
            wzor.setPixel(x, y, k == 0 ? qRgba(0, 0, 0, 0) : k == 1 ? qRgb(0, 0, 0) : barwy[k - 2]);
        }
    OpisAni o;
    o.ikony = {katalog({{dib(wzor, bpp, bezAlfy), szer, {1, 2}}})};
    const auto a = PlikAni::czytaj(ani(o));
    QVERIFY(a);
    const QImage& wynik = a->klatki[0].obraz;
    QCOMPARE(wynik.size(), QSize(szer, wys));
    for (int y = 0; y < wys; ++y)
        for (int x = 0; x < szer; ++x) {
            const QRgb oczekiwany = wzor.pixel(x, y);
            const QRgb jest = wynik.pixel(x, y);
            if (qAlpha(oczekiwany) == 0)
                QVERIFY2(qAlpha(jest) == 0, qPrintable(QString("%1,%2").arg(x).arg(y)));
            else
                QVERIFY2(jest == oczekiwany, qPrintable(QString("%1,%2: %3 instead of %4")
                                                            .arg(x)
                                                            .arg(y)
                                                            .arg(jest, 8, 16)
                                                            .arg(oczekiwany, 8, 16)));
        }
    QCOMPARE(a->klatki[0].punktAktywny, QPoint(1, 2));
}

void TestPlikAni::pikselOdwracajacy() {
    // AND bit 1 over a non-black colour inverts the screen; shown as the colour's inverse.
    QImage wzor(8, 8, QImage::Format_ARGB32);
    wzor.fill(qRgb(255, 255, 255));
    QByteArray obraz = dib(wzor, 24);
    // Set the whole mask (its 8 rows of 4 bytes end the DIB).
    for (qsizetype i = obraz.size() - 32; i < obraz.size(); i += 4)
        obraz[i] = char(0xff);
    OpisAni o;
    o.ikony = {katalog({{obraz, 8, {0, 0}}})};
    const auto a = PlikAni::czytaj(ani(o));
    QVERIFY(a);
    QCOMPARE(a->klatki[0].obraz.pixel(3, 3), qRgb(0, 0, 0));
}

void TestPlikAni::klatkaPng() {
    QImage wzor = obrazProbny(kZielony, 64);
    wzor.setPixel(63, 63, qRgba(10, 20, 30, 128));
    OpisAni o;
    o.ikony = {katalog({{png(wzor), 64, {40, 41}}}), kursor(obrazProbny(kCzerwony), {2, 3})};
    const auto a = PlikAni::czytaj(ani(o));
    QVERIFY(a);
    sprawdzSpojnosc(*a);
    QCOMPARE(a->klatki[0].obraz.size(), QSize(64, 64));
    QCOMPARE(a->klatki[0].obraz.format(), QImage::Format_ARGB32);
    QCOMPARE(a->klatki[0].obraz.pixel(10, 10), kZielony);
    QCOMPARE(a->klatki[0].obraz.pixel(63, 63), qRgba(10, 20, 30, 128));
    QCOMPARE(qAlpha(a->klatki[0].obraz.pixel(1, 1)), 0);
    QCOMPARE(a->klatki[0].punktAktywny, QPoint(40, 41));
    QCOMPARE(a->klatki[1].punktAktywny, QPoint(2, 3));
}

void TestPlikAni::ikonaWskazujeSrodkiem() {
    OpisAni o;
    o.ikony = {katalog({{dib(obrazProbny(kCzerwony), 32), 32, {}}}, 1)};
    auto a = PlikAni::czytaj(ani(o));
    QVERIFY(a);
    QCOMPARE(a->klatki[0].punktAktywny, QPoint(16, 16));
    // A cursor hotspot off the picture is pulled onto its edge.
    o.ikony = {katalog({{dib(obrazProbny(kCzerwony), 32), 32, {500, 40}}})};
    a = PlikAni::czytaj(ani(o));
    QVERIFY(a);
    QCOMPARE(a->klatki[0].punktAktywny, QPoint(31, 31));
}

void TestPlikAni::wyborRozmiaru() {
    const QByteArray dwa = katalog({{dib(obrazProbny(kCzerwony, 16), 32), 16, {1, 1}},
                                    {dib(obrazProbny(kZielony, 48), 32), 48, {5, 5}},
                                    {dib(obrazProbny(kNiebieski, 32), 32), 32, {3, 3}}});
    OpisAni o;
    o.ikony = {dwa};
    auto a = PlikAni::czytaj(ani(o));
    QVERIFY(a);
    QCOMPARE(a->klatki[0].obraz.width(), 48); // no size asked for: the largest
    QCOMPARE(a->klatki[0].punktAktywny, QPoint(5, 5));
    o.cx = o.cy = 32;
    a = PlikAni::czytaj(ani(o));
    QVERIFY(a);
    QCOMPARE(a->klatki[0].obraz.width(), 32);
    QCOMPARE(a->klatki[0].obraz.pixel(10, 10), kNiebieski);
    QCOMPARE(a->klatki[0].punktAktywny, QPoint(3, 3));
    o.cx = o.cy = 24; // no entry of that size: the largest again
    a = PlikAni::czytaj(ani(o));
    QVERIFY(a);
    QCOMPARE(a->klatki[0].obraz.width(), 48);
}

void TestPlikAni::surowaKlatkaBezAfIcon() {
    OpisAni o;
    o.flagi = 0;
    o.cx = o.cy = 32;
    // A bare DIB with its mask, one mistakenly flagged cursor file, one of neither kind.
    o.ikony = {dib(obrazProbny(kCzerwony), 32), kursor(obrazProbny(kZielony), {7, 8})};
    auto a = PlikAni::czytaj(ani(o));
    QVERIFY(a);
    sprawdzSpojnosc(*a);
    QCOMPARE(a->klatki[0].obraz.pixel(10, 10), kCzerwony);
    QCOMPARE(qAlpha(a->klatki[0].obraz.pixel(0, 0)), 0);
    QCOMPARE(a->klatki[0].punktAktywny, QPoint(0, 0));
    QCOMPARE(a->klatki[1].punktAktywny, QPoint(7, 8));
    o.ikony.append(QByteArray(4096, '\x55'));
    QVERIFY(!PlikAni::czytaj(ani(o)));
}

void TestPlikAni::obcietyPrzyKazdejDlugosci() {
    const QByteArray caly = ani(trzyKlatki());
    QVERIFY(PlikAni::czytaj(caly));
    for (qsizetype n = 0; n < caly.size(); ++n)
        QVERIFY2(!PlikAni::czytaj(caly.left(n)), qPrintable(QString::number(n)));
    // The same with the RIFF size patched to match the cut, so that the chunks themselves
    // must notice that they run past the end.
    for (qsizetype n = 12; n < caly.size(); ++n) {
        QByteArray c = caly.left(n);
        QByteArray rozmiar;
        u32(rozmiar, quint32(n - 8));
        c.replace(4, 4, rozmiar);
        QVERIFY2(!PlikAni::czytaj(c), qPrintable(QString::number(n)));
    }
}

void TestPlikAni::uszkodzone_data() {
    QTest::addColumn<QByteArray>("plik");
    const QByteArray dobry = ani(trzyKlatki());
    const QByteArray ikona = kursor(obrazProbny(kCzerwony), {1, 1});

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not RIFF") << QByteArray("RIFX") + dobry.mid(4);
    QTest::newRow("not ACON") << dobry.left(8) + "AVI " + dobry.mid(12);
    QTest::newRow("RIFF size past the end") << [&] {
        QByteArray p = dobry;
        p.replace(4, 4, QByteArray("\xf0\xff\xff\xff", 4));
        return p;
    }();
    QTest::newRow("RIFF size below 4") << [&] {
        QByteArray p = dobry;
        p.replace(4, 4, QByteArray("\x02\0\0\0", 4));
        return p;
    }();
    QTest::newRow("zero frames") << zPolemAnih(dobry, 1, 0);
    QTest::newRow("absurd frame count") << zPolemAnih(dobry, 1, 0x7fffffff);
    QTest::newRow("frame count over the cap") << zPolemAnih(dobry, 1, PlikAni::kMaksKlatek + 1);
    QTest::newRow("more frames than icons") << zPolemAnih(dobry, 1, 4);
    QTest::newRow("zero steps") << zPolemAnih(dobry, 2, 0);
    QTest::newRow("absurd step count") << zPolemAnih(dobry, 2, 0xffffffffu);
    QTest::newRow("more steps than seq entries") << zPolemAnih(dobry, 2, 5);
    QTest::newRow("cbSize wrong") << zPolemAnih(dobry, 0, 32);
    QTest::newRow("cx absurd") << zPolemAnih(dobry, 3, 100000);
    {
        OpisAni o = trzyKlatki();
        o.seq = QList<quint32>{0, 3, 1, 2};
        QTest::newRow("seq names a missing frame") << ani(o);
        o.seq = QList<quint32>{0, 0xffffffffu, 1, 2};
        QTest::newRow("seq entry absurd") << ani(o);
        o = trzyKlatki();
        o.rate = QList<quint32>{1, 2};
        QTest::newRow("rate shorter than the steps") << ani(o);
        o = trzyKlatki();
        o.seq.reset();
        o.rate.reset();
        o.flagi = 3;
        QTest::newRow("AF_SEQUENCE without seq") << ani(o);
        o.flagi = 1;
        o.liczbaKrokow = 4;
        QTest::newRow("more steps than frames without seq") << ani(o);
    }
    {
        QByteArray p = dobry;
        const qsizetype anih = p.indexOf("anih");
        p.replace(anih + 4, 4, QByteArray("\x20\0\0\0", 4));
        QTest::newRow("anih chunk too short") << p;
        p = dobry;
        p[anih] = 'x';
        QTest::newRow("no anih") << p;
        p = dobry;
        p[p.indexOf("fram")] = 'x';
        QTest::newRow("no frame list") << p;
        p = dobry;
        p.replace(p.indexOf("icon") + 4, 4, QByteArray("\xf0\xff\xff\x7f", 4));
        QTest::newRow("icon chunk size past the end") << p;
    }
    {
        OpisAni o;
        o.ikony = {QByteArray()};
        QTest::newRow("empty icon") << ani(o);
        QByteArray k = ikona;
        k[4] = 0;
        o.ikony = {k};
        QTest::newRow("directory with no entries") << ani(o);
        k = ikona;
        k[4] = char(200);
        o.ikony = {k};
        QTest::newRow("directory entries past the end") << ani(o);
        k = ikona;
        k.replace(18, 4, QByteArray("\xff\xff\xff\x0f", 4));
        o.ikony = {k};
        QTest::newRow("image offset past the end") << ani(o);
        k = ikona;
        k.replace(14, 4, QByteArray("\0\0\0\x10", 4));
        o.ikony = {k};
        QTest::newRow("image size past the end") << ani(o);
        k = ikona;
        k[2] = 3;
        o.ikony = {k};
        QTest::newRow("directory type 3") << ani(o);
        // DIB header fields: width at 22+4, height at 22+8, planes 22+12, bpp 22+14,
        // compression 22+16, colours used 22+32.
        auto dibPole = [&](int od, const QByteArray& v) {
            QByteArray d = ikona;
            d.replace(22 + od, v.size(), v);
            OpisAni x;
            x.ikony = {d};
            return ani(x);
        };
        QTest::newRow("DIB header size 12") << dibPole(0, QByteArray("\x0c\0\0\0", 4));
        QTest::newRow("DIB header size past the end") << dibPole(0, QByteArray("\0\0\0\x01", 4));
        QTest::newRow("DIB width 0") << dibPole(4, QByteArray("\0\0\0\0", 4));
        QTest::newRow("DIB width negative") << dibPole(4, QByteArray("\xe0\xff\xff\xff", 4));
        QTest::newRow("DIB width 300") << dibPole(4, QByteArray("\x2c\x01\0\0", 4));
        QTest::newRow("DIB width huge") << dibPole(4, QByteArray("\0\0\0\x40", 4));
        QTest::newRow("DIB height odd") << dibPole(8, QByteArray("\x41\0\0\0", 4));
        QTest::newRow("DIB height negative") << dibPole(8, QByteArray("\xc0\xff\xff\xff", 4));
        QTest::newRow("DIB height huge") << dibPole(8, QByteArray("\0\0\0\x40", 4));
        QTest::newRow("DIB rows past the end") << dibPole(8, QByteArray("\x80\0\0\0", 4));
        QTest::newRow("DIB 2 planes") << dibPole(12, QByteArray("\x02\0", 2));
        QTest::newRow("DIB 16 bits") << dibPole(14, QByteArray("\x10\0", 2));
        QTest::newRow("DIB compressed") << dibPole(16, QByteArray("\x01\0\0\0", 4));
        QTest::newRow("DIB palette of 2^32 - 1") << dibPole(32, QByteArray("\xff\xff\xff\xff", 4));
        // 8 bits with more colours than 256 and a 1-bit image whose mask is cut off.
        QByteArray d8 = dib(obrazProbny(kCzerwony), 8);
        d8.replace(32, 4, QByteArray("\x01\x01\0\0", 4));
        o.ikony = {katalog({{d8, 32, {}}})};
        QTest::newRow("palette larger than the depth allows") << ani(o);
        QByteArray d1 = dib(obrazProbny(kCzerwony), 1);
        d1.chop(8);
        o.ikony = {katalog({{d1, 32, {}}})};
        QTest::newRow("AND mask cut off") << ani(o);
        // A PNG whose header claims a huge picture, and one that is damaged.
        QByteArray p = png(obrazProbny(kZielony));
        QByteArray wielki = p;
        wielki.replace(16, 8, QByteArray("\0\x01\x86\xa0\0\x01\x86\xa0", 8));
        o.ikony = {katalog({{wielki, 0, {}}})};
        QTest::newRow("PNG of 100000 x 100000") << ani(o);
        QByteArray zepsuty = p.left(p.size() / 2);
        o.ikony = {katalog({{zepsuty, 32, {}}})};
        QTest::newRow("PNG cut in half") << ani(o);
    }
}

void TestPlikAni::uszkodzone() {
    QFETCH(QByteArray, plik);
    QVERIFY(!PlikAni::czytaj(plik));
}

void TestPlikAni::limitPikseli() {
    // 256 x 256 frames as small PNGs: the cap on all pixels together (32 MB of images) allows
    // 128 of them and refuses one more, however small the file is.
    const QByteArray duza = katalog({{png(obrazProbny(kZielony, 256)), 256, {}}});
    OpisAni o;
    o.ikony = QList<QByteArray>(128, duza);
    auto a = PlikAni::czytaj(ani(o));
    QVERIFY(a);
    QCOMPARE(a->klatki.size(), 128);
    o.ikony.append(duza);
    const QByteArray zaDuzo = ani(o);
    QVERIFY(zaDuzo.size() < 512 * 1024);
    QVERIFY(!PlikAni::czytaj(zaDuzo));
}

void TestPlikAni::losoweUszkodzenia() {
    // Random damage to a good file (fixed seed, so a failure repeats): the reader either
    // refuses it or gives a consistent animation; it never crashes or reads out of bounds
    // (the sanitizer build checks the latter).
    OpisAni o = trzyKlatki();
    o.ikony[1] = katalog({{dib(obrazProbny(kZielony), 8), 32, {4, 4}}});
    o.ikony[2] = katalog({{png(obrazProbny(kNiebieski)), 32, {9, 9}}});
    const QByteArray dobry = ani(o);
    QRandomGenerator los(20240611);
    int wczytane = 0;
    for (int proba = 0; proba < 3000; ++proba) {
        QByteArray p = dobry;
        const int zmian = 1 + int(los.bounded(8));
        for (int i = 0; i < zmian; ++i) {
            const qsizetype gdzie = los.bounded(p.size());
            switch (los.bounded(3)) {
            case 0:
                p[gdzie] = char(los.bounded(256));
                break;
            case 1: // a size or count field blown up
                if (gdzie + 4 <= p.size())
                    p.replace(gdzie, 4, QByteArray("\xff\xff\xff\x7f", 4));
                break;
            default:
                p[gdzie] = char(p[gdzie] ^ (1 << los.bounded(8)));
            }
        }
        if (const auto a = PlikAni::czytaj(p)) {
            ++wczytane;
            sprawdzSpojnosc(*a);
            if (QTest::currentTestFailed())
                return;
        }
    }
    // Damage to pixel bytes leaves the file readable: the run did exercise the happy path.
    QVERIFY(wczytane > 100);
}

void TestPlikAni::plikZDysku() {
    QTemporaryDir katalog;
    QVERIFY(!PlikAni::czytajPlik(katalog.filePath("brak.ani")));
    QFile f(katalog.filePath("dobry.ani"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(ani(trzyKlatki()));
    f.close();
    QVERIFY(PlikAni::czytajPlik(f.fileName()));
    // A file over the size cap is refused before it is read.
    QVERIFY(f.resize(PlikAni::kMaksPliku + 1));
    QVERIFY(!PlikAni::czytajPlik(f.fileName()));
    QVERIFY(!PlikAni::czytajPlik(katalog.path())); // a folder
}

void TestPlikAni::plikDemonstracyjny() {
    const QString zrodla = qEnvironmentVariable("PIXO_SOURCE_DIR");
    if (zrodla.isEmpty())
        QSKIP("PIXO_SOURCE_DIR not set");
    const auto a = PlikAni::czytajPlik(zrodla + "/resources/hourglas.ani");
    QVERIFY(a);
    sprawdzSpojnosc(*a);
    QCOMPARE(a->klatki.size(), 8);
    QCOMPARE(a->kroki.size(), 9);
    const QList<int> kolejnosc{0, 1, 2, 3, 4, 5, 5, 6, 7};
    int suma = 0;
    for (int i = 0; i < 9; ++i) {
        QCOMPARE(a->kroki[i].klatka, kolejnosc[i]);
        suma += a->kroki[i].jiffies;
    }
    QCOMPARE(suma, 64); // about a second per turn
    for (const KlatkaAni& k : a->klatki) {
        QCOMPARE(k.obraz.size(), QSize(32, 32));
        QCOMPARE(k.punktAktywny, QPoint(16, 16));
        QCOMPARE(qAlpha(k.obraz.pixel(0, 0)), 0);   // a cursor, not a tile
        QVERIFY(qAlpha(k.obraz.pixel(16, 16)) > 0); // the glass's neck
    }
    // The sand runs down: the upper bulb's sand shrinks from frame to frame.
    auto piasekWGorze = [&](int klatka) {
        int n = 0;
        const QImage& o = a->klatki[klatka].obraz;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 32; ++x)
                if (qRed(o.pixel(x, y)) > 200 && qBlue(o.pixel(x, y)) < 120)
                    ++n;
        return n;
    };
    for (int i = 1; i < 6; ++i)
        QVERIFY2(piasekWGorze(i) < piasekWGorze(i - 1), qPrintable(QString::number(i)));
    QCOMPARE(piasekWGorze(5), 0);
}

QTEST_GUILESS_MAIN(TestPlikAni)
#include "test_plik_ani.moc"
