// The embedded overlay pictures: formats and resolutions that the export and the printout rely
// on, read from the raw file bytes, and the places of the label windows under the label edits
// (screen pictures stretched to 358 x 406) and under the export's label rectangles (print
// bitmaps, 239 pixels to the right).

#include <QFile>
#include <QImage>
#include <QTest>

#include <cmath>
#include <cstdlib>

namespace {

constexpr int kOkno[2] = {358, 406};
constexpr int kSzerokoscEksportu = 437;
constexpr int kPrzesuniecie = 239;

struct Typ {
    const char* nazwa;
    const char* ekran;
    const char* wydruk;
    int ekranW, ekranH;
    int wydrukW, wydrukH;
    int bity;
    QRgb napis;
};

const Typ kTypy[2] = {
    {"ogolna", ":/obrazy/ogolna.jpg", ":/obrazy/ogolna_wkladka.bmp", 1072, 1214, 1311, 1214, 8,
     qRgb(181, 180, 177)},
    {"lekarska", ":/obrazy/lekarska.jpg", ":/obrazy/lekarska_wkladka.bmp", 1054, 1193, 1313, 1217,
     24, qRgb(173, 171, 168)},
};

// The fourteen label edits in window units; keys 5 to 8 have one line.
struct Edycja {
    const char* nazwa;
    int L, T, W, H;
    bool jednaLinia;
};
const Edycja kEdycje[14] = {
    {"edit0", 12, 12, 46, 16, false},  {"edit0a", 12, 28, 46, 16, false},
    {"Edit1", 84, 12, 46, 16, false},  {"Edit1a", 84, 28, 46, 16, false},
    {"Edit2", 153, 12, 49, 16, false}, {"Edit2a", 153, 28, 49, 16, false},
    {"Edit3", 223, 12, 48, 16, false}, {"Edit3a", 223, 28, 48, 16, false},
    {"Edit4", 295, 12, 50, 16, false}, {"Edit4a", 295, 28, 50, 16, false},
    {"Edit5", 84, 95, 46, 16, true},   {"Edit6", 153, 95, 46, 16, true},
    {"Edit7", 225, 95, 48, 16, true},  {"Edit8", 295, 95, 46, 16, true},
};

QByteArray zasob(const char* sciezka) {
    QFile f(QString::fromLatin1(sciezka));
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    return f.readAll();
}

quint32 le32(const QByteArray& d, int i) {
    quint32 v = 0;
    for (int k = 3; k >= 0; --k) {
        v = (v << 8) | static_cast<quint8>(d[i + k]);
    }
    return v;
}
int le16(const QByteArray& d, int i) {
    return static_cast<quint8>(d[i]) | (static_cast<quint8>(d[i + 1]) << 8);
}
int be16(const QByteArray& d, int i) {
    return (static_cast<quint8>(d[i]) << 8) | static_cast<quint8>(d[i + 1]);
}

bool blisko(QRgb a, QRgb b, int tolerancja) {
    return std::abs(qRed(a) - qRed(b)) <= tolerancja &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerancja &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerancja;
}

QString opis(QRgb c) {
    return QStringLiteral("(%1,%2,%3)").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c));
}

// Share of the pixels of r (inclusive) that have the label colour.
double udzialKoloru(const QImage& obraz, const QRect& r, QRgb kolor, int tolerancja) {
    int trafione = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            trafione += blisko(obraz.pixel(x, y), kolor, tolerancja) ? 1 : 0;
        }
    }
    return double(trafione) / (r.width() * r.height());
}

// The export's label rectangle of one edit on a print bitmap, both far edges included.
QRect prostokatEksportu(const Edycja& e, double sx, double sy) {
    const int gora = e.jednaLinia ? e.T + 2 : e.T;
    return QRect(
        QPoint(int(std::trunc(e.L * sx + kPrzesuniecie)), int(std::trunc(gora * sy))),
        QPoint(int(std::trunc((e.L + 46) * sx + kPrzesuniecie)), int(std::trunc((e.T + 16) * sy))));
}

void dodajTypy() {
    QTest::addColumn<int>("typ");
    QTest::newRow("ogolna") << 0;
    QTest::newRow("lekarska") << 1;
}

} // namespace

class TestObrazy : public QObject {
    Q_OBJECT

private slots:
    void naglowekBmp_data() { dodajTypy(); }
    void naglowekBmp() {
        QFETCH(int, typ);
        const Typ& t = kTypy[typ];
        const QByteArray d = zasob(t.wydruk);
        QVERIFY2(d.size() > 54, t.wydruk);
        QCOMPARE(d.left(2), QByteArray("BM"));
        QCOMPARE(le32(d, 2), quint32(d.size())); // bfSize
        const quint32 daneOd = le32(d, 10);
        QCOMPARE(le32(d, 14), 40u); // BITMAPINFOHEADER
        QCOMPARE(int(le32(d, 18)), t.wydrukW);
        QCOMPARE(int(le32(d, 22)), t.wydrukH); // positive: bottom-up, as the export writes
        QCOMPARE(le16(d, 26), 1);
        QCOMPARE(le16(d, 28), t.bity);
        QCOMPARE(le32(d, 30), 0u); // BI_RGB, uncompressed
        QCOMPARE(le32(d, 38), 11811u);
        QCOMPARE(le32(d, 42), 11811u);
        const int wpisyPalety = int((daneOd - 14 - 40) / 4);
        if (t.bity == 8) {
            QCOMPARE(wpisyPalety, 256);
            const quint32 uzyte = le32(d, 46);
            QVERIFY2(uzyte == 0 || uzyte == 256, qPrintable(QString::number(uzyte)));
        } else {
            QCOMPARE(wpisyPalety, 0);
        }
        const qint64 wiersz = ((qint64(t.wydrukW) * t.bity + 31) / 32) * 4;
        QCOMPARE(qint64(d.size()), qint64(daneOd) + wiersz * t.wydrukH);

        const QImage obraz = QImage::fromData(d, "BMP");
        QCOMPARE(obraz.size(), QSize(t.wydrukW, t.wydrukH));
        QCOMPARE(obraz.dotsPerMeterX(), 11811);
        QCOMPARE(obraz.dotsPerMeterY(), 11811);
        if (t.bity == 8) {
            QCOMPARE(obraz.format(), QImage::Format_Indexed8);
            QCOMPARE(obraz.colorCount(), 256);
            // The export draws labels with the palette colour nearest to the edit's colour;
            // only an exact entry keeps them the colour of the label windows.
            QVERIFY(obraz.colorTable().contains(t.napis | 0xff000000u));
        }
    }

    void naglowekJpeg_data() { dodajTypy(); }
    void naglowekJpeg() {
        QFETCH(int, typ);
        const Typ& t = kTypy[typ];
        const QByteArray d = zasob(t.ekran);
        QVERIFY2(d.size() > 20, t.ekran);
        QCOMPARE(quint8(d[0]), quint8(0xFF));
        QCOMPARE(quint8(d[1]), quint8(0xD8));
        bool jfif = false;
        int skladowe = 0, w = 0, h = 0;
        for (int i = 2; i + 4 <= d.size();) {
            QCOMPARE(quint8(d[i]), quint8(0xFF));
            const int znacznik = quint8(d[i + 1]);
            const int dlugosc = be16(d, i + 2);
            const int p = i + 4;
            QVERIFY(i + 2 + dlugosc <= d.size());
            if (znacznik == 0xE0 && d.mid(p, 5) == QByteArray("JFIF\0", 5)) {
                jfif = true;
                QCOMPARE(int(quint8(d[p + 7])), 1); // density in dots per inch
                QCOMPARE(be16(d, p + 8), 300);
                QCOMPARE(be16(d, p + 10), 300);
            }
            if (znacznik >= 0xC0 && znacznik <= 0xC2) {
                h = be16(d, p + 1);
                w = be16(d, p + 3);
                skladowe = quint8(d[p + 5]);
            }
            if (znacznik == 0xDA) {
                break;
            }
            i += 2 + dlugosc;
        }
        QVERIFY(jfif);
        QCOMPARE(skladowe, 3);
        QCOMPARE(QSize(w, h), QSize(t.ekranW, t.ekranH));

        const QImage obraz = QImage::fromData(d, "JPEG");
        QCOMPARE(obraz.size(), QSize(t.ekranW, t.ekranH));
        QCOMPARE(obraz.dotsPerMeterX(), 11811);
        QVERIFY(!obraz.isGrayscale());
    }

    // Stretched to the window, each label edit covers a label window of its type's colour;
    // just left of it and above it lies the key, not the label colour. JPEG is lossy: a few
    // levels of tolerance, still far below the 8 levels between the two types' colours.
    void napisyNaEkranie_data() { dodajTypy(); }
    void napisyNaEkranie() {
        QFETCH(int, typ);
        const Typ& t = kTypy[typ];
        const Typ& inny = kTypy[1 - typ];
        const QImage obraz(QString::fromLatin1(t.ekran));
        QVERIFY(!obraz.isNull());
        const double sx = double(obraz.width()) / kOkno[0];
        const double sy = double(obraz.height()) / kOkno[1];
        for (const Edycja& e : kEdycje) {
            const QRect r(QPoint(int(std::ceil(e.L * sx)), int(std::ceil(e.T * sy))),
                          QPoint(int(std::floor((e.L + e.W) * sx)) - 1,
                                 int(std::floor((e.T + e.H) * sy)) - 1));
            const double udzial = udzialKoloru(obraz, r.adjusted(2, 2, -2, -2), t.napis, 4);
            QVERIFY2(udzial > 0.7, qPrintable(QStringLiteral("%1: %2").arg(e.nazwa).arg(udzial)));
            QVERIFY2(udzialKoloru(obraz, r.adjusted(2, 2, -2, -2), inny.napis, 2) < 0.05, e.nazwa);
            const QRect wnetrze = r.adjusted(4, 4, -4, -4);
            for (const QPoint& p : {wnetrze.topLeft(), wnetrze.topRight(), wnetrze.bottomLeft(),
                                    wnetrze.bottomRight()}) {
                QVERIFY2(blisko(obraz.pixel(p), t.napis, 6),
                         qPrintable(QStringLiteral("%1 (%2,%3): %4")
                                        .arg(e.nazwa)
                                        .arg(p.x())
                                        .arg(p.y())
                                        .arg(opis(obraz.pixel(p)))));
            }
            const QPoint obok(int((e.L - 3) * sx), int((e.T + e.H / 2.0) * sy));
            const QPoint nad(int((e.L + e.W / 2.0) * sx), int((e.T - 3) * sy));
            QVERIFY2(!blisko(obraz.pixel(obok), t.napis, 6), e.nazwa);
            if (e.nazwa[qstrlen(e.nazwa) - 1] != 'a') {
                QVERIFY2(!blisko(obraz.pixel(nad), t.napis, 6), e.nazwa);
            }
        }
        // Between the keys of the top row there is no label colour.
        QVERIFY(!blisko(obraz.pixel(int(70 * sx), int(28 * sy)), t.napis, 6));
        QVERIFY(!blisko(obraz.pixel(int(100 * sx), int(70 * sy)), t.napis, 6));
    }

    // Where the export fills a label (left edge L*sx + 239, far edges included), the print bitmap
    // already has the label colour exactly, so a label never shows a rim of another colour.
    void napisyNaWydruku_data() { dodajTypy(); }
    void napisyNaWydruku() {
        QFETCH(int, typ);
        const Typ& t = kTypy[typ];
        const QImage obraz(QString::fromLatin1(t.wydruk));
        QVERIFY(!obraz.isNull());
        const double sx = double(obraz.width()) / kSzerokoscEksportu;
        const double sy = double(obraz.height()) / kOkno[1];
        for (const Edycja& e : kEdycje) {
            const QRect r = prostokatEksportu(e, sx, sy);
            QVERIFY(QRect(QPoint(0, 0), obraz.size()).contains(r));
            const double udzial = udzialKoloru(obraz, r, t.napis, 0);
            QVERIFY2(udzial > 0.7, qPrintable(QStringLiteral("%1: %2").arg(e.nazwa).arg(udzial)));
            for (const QPoint& p : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()}) {
                QVERIFY2(obraz.pixel(p) == (t.napis | 0xff000000u),
                         qPrintable(QStringLiteral("%1 (%2,%3): %4")
                                        .arg(e.nazwa)
                                        .arg(p.x())
                                        .arg(p.y())
                                        .arg(opis(obraz.pixel(p)))));
            }
            // Just outside the rectangle on the left lies the window's rim or the key.
            QVERIFY2(obraz.pixel(r.left() - int(3 * sx), r.center().y()) != (t.napis | 0xff000000u),
                     e.nazwa);
        }
    }

    // The general print bitmap is its screen picture with 239 pixels added at the left: the
    // pictures agree best at exactly that offset (the JPEG and the palette differ slightly).
    void wydrukOgolnejToPrzesunietyEkran() {
        const QImage ekran =
            QImage(QString::fromLatin1(kTypy[0].ekran)).convertToFormat(QImage::Format_RGB32);
        const QImage wydruk =
            QImage(QString::fromLatin1(kTypy[0].wydruk)).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(wydruk.height(), ekran.height());
        QCOMPARE(wydruk.width(), ekran.width() + kPrzesuniecie);
        const auto roznica = [&](int przes) {
            qint64 suma = 0, n = 0;
            for (int y = 0; y < ekran.height(); y += 2) {
                const auto* a = reinterpret_cast<const QRgb*>(ekran.constScanLine(y));
                const auto* b = reinterpret_cast<const QRgb*>(wydruk.constScanLine(y));
                for (int x = 8; x < ekran.width() - 8; ++x) {
                    const QRgb p = a[x], q = b[x + przes];
                    suma += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                            std::abs(qBlue(p) - qBlue(q));
                    ++n;
                }
            }
            return double(suma) / (3.0 * n);
        };
        const double wlasciwa = roznica(kPrzesuniecie);
        QVERIFY2(wlasciwa < 2.5, qPrintable(QString::number(wlasciwa)));
        for (int przes :
             {kPrzesuniecie - 3, kPrzesuniecie - 1, kPrzesuniecie + 1, kPrzesuniecie + 3}) {
            const double inna = roznica(przes);
            QVERIFY2(inna > wlasciwa * 2,
                     qPrintable(QStringLiteral("%1: %2 vs %3").arg(przes).arg(inna).arg(wlasciwa)));
        }
    }

    // The icon the program sets at start, decoded by the build: the PNG's picture, its
    // transparency included, in the layout the program reads it with.
    void ikonaZdekodowanaJakPng() {
        const QImage png(QStringLiteral(":/obrazy/ikona.png"));
        const QByteArray surowa = zasob(":/obrazy/ikona.argb32");
        QCOMPARE(png.size(), QSize(128, 128));
        QCOMPARE(surowa.size(), 128 * 128 * 4);
        const QImage ikona(reinterpret_cast<const uchar*>(surowa.constData()), 128, 128,
                           QImage::Format_ARGB32_Premultiplied);
        int nieprzezroczyste = 0;
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 128; ++x) {
                const QRgb oczekiwany = png.pixel(x, y);
                QCOMPARE(qAlpha(ikona.pixel(x, y)), qAlpha(oczekiwany));
                if (qAlpha(oczekiwany) == 255) {
                    QCOMPARE(ikona.pixel(x, y), oczekiwany);
                    ++nieprzezroczyste;
                }
            }
        QVERIFY(nieprzezroczyste > 0);
    }
};

QTEST_GUILESS_MAIN(TestObrazy)
#include "test_obrazy.moc"
