#include "overlay/PlikBitmapy.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRegion>
#include <QTextLayout>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

// The nearest palette entry of a colour, by distance in RGB; the first of equals wins. What
// was found is kept as long as the palette stays: the same blends of the same colours come
// back in every export.
struct PlikBitmapy::Paleta {
    explicit Paleta(const QList<QRgb>& kolory) : m_kolory(kolory) {
        for (qsizetype i = 0; i < std::min<qsizetype>(kolory.size(), 256); ++i)
            pelne[static_cast<std::size_t>(i)] = kolory.at(i) | 0xFF000000u;
    }

    // The entries as the canvas has them, opaque; none beyond the palette.
    std::array<QRgb, 256> pelne{};

    uchar najblizszy(QRgb c) {
        c |= 0xFF000000u;
        // A small table indexed by the colour's hash, two slots a hash: a colour found in
        // neither is searched again and takes the first, whose colour moves to the second.
        // With one slot, two colours of a text's edges that shared it pushed each other out
        // all through every export.
        Wpis* para = &m_pamiec[((c * 2654435761u) >> (32 - kBityPamieci)) & ~std::size_t(1)];
        if (para[0].kolor == c)
            return para[0].indeks;
        if (para[1].kolor == c)
            return para[1].indeks;
        int najlepszy = 0;
        long najmniej = -1;
        for (qsizetype i = 0; i < m_kolory.size(); ++i) {
            const QRgb k = m_kolory.at(i);
            const long dr = qRed(c) - qRed(k);
            const long dg = qGreen(c) - qGreen(k);
            const long db = qBlue(c) - qBlue(k);
            const long d = dr * dr + dg * dg + db * db;
            if (najmniej < 0 || d < najmniej) {
                najmniej = d;
                najlepszy = static_cast<int>(i);
            }
        }
        para[1] = para[0];
        para[0] = {c, static_cast<uchar>(najlepszy)};
        return para[0].indeks;
    }

private:
    static constexpr int kBityPamieci = 12;
    struct Wpis {
        QRgb kolor = 0; // no colour: every looked-up one is opaque
        uchar indeks = 0;
    };
    QList<QRgb> m_kolory;
    std::array<Wpis, 1 << kBityPamieci> m_pamiec{};
};

qsizetype PlikBitmapy::poczatekWiersza(int y) const {
    // The file's rows run bottom-up.
    return m_poczatekDanych + m_dlugoscWiersza * (m_wysokosc - 1 - y);
}

uchar* PlikBitmapy::wiersz(int y) {
    return reinterpret_cast<uchar*>(m_plik.data()) + poczatekWiersza(y);
}

void PlikBitmapy::zakodujPodstawe(const QImage& wydruk) {
    zakodujBmp(wydruk, m_podstawa);
    m_kluczPodstawy = wydruk.cacheKey();
    m_format = wydruk.format();
    m_szerokosc = wydruk.width();
    m_wysokosc = wydruk.height();
    m_rozdzielczosc = QSize(wydruk.dotsPerMeterX(), wydruk.dotsPerMeterY());
    const bool paleta = wydruk.format() == QImage::Format_Indexed8;
    m_kolory = paleta ? wydruk.colorTable() : QList<QRgb>();
    m_paleta = paleta ? std::make_shared<Paleta>(m_kolory) : nullptr;
    // The layout as the encoder wrote it: where the pixels start, and the pixels' size over
    // the rows.
    m_poczatekDanych = qFromLittleEndian<quint32>(m_podstawa.constData() + 10);
    m_dlugoscWiersza =
        m_wysokosc > 0 ? qFromLittleEndian<quint32>(m_podstawa.constData() + 34) / m_wysokosc : 0;
    m_plik = m_podstawa;
    m_plik.detach();
    m_narysowane.clear();
}

void PlikBitmapy::wrocDoPodstawy(std::size_t zostaja) {
    // Only what the labels covered differs from the bitmap.
    const int bajty = m_paleta ? 1 : 3;
    for (std::size_t i = zostaja; i < m_narysowane.size(); ++i) {
        const QRect& r = m_narysowane[i].obszar;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            const qsizetype poczatek = poczatekWiersza(y) + qsizetype(r.left()) * bajty;
            std::memcpy(m_plik.data() + poczatek, m_podstawa.constData() + poczatek,
                        static_cast<size_t>(r.width()) * bajty);
        }
    }
    m_narysowane.resize(zostaja);
}

std::size_t PlikBitmapy::zostajaNapisy(const std::vector<NapisEksportu>& napisy,
                                       const QFont& czcionka, const QColor& kolorTekstu,
                                       SkalaEksportu s) const {
    if (czcionka != m_czcionka || kolorTekstu != m_kolorTekstu)
        return 0;
    std::size_t zostaja = 0;
    for (const NapisEksportu& n : napisy) {
        if (n.tekst.isEmpty())
            continue; // draws nothing and is not kept
        if (zostaja == m_narysowane.size())
            break;
        const Narysowany& b = m_narysowane[zostaja];
        if (b.tekst != n.tekst || b.tlo != n.tlo ||
            b.prostokat != prostokatNapisu(n.polozenie, n.jednoliniowy, s))
            break;
        ++zostaja;
    }
    // What goes back to the bitmap must not take part of a label that stays with it.
    for (std::size_t j = zostaja; j < m_narysowane.size(); ++j)
        for (std::size_t i = 0; i < zostaja; ++i)
            if (m_narysowane[j].obszar.intersects(m_narysowane[i].obszar))
                return 0;
    return zostaja;
}

void PlikBitmapy::doPlotna(const QRect& czesc, QImage& plotno, QPoint poczatekPlotna) const {
    const QRgb* pelne = m_paleta ? m_paleta->pelne.data() : nullptr;
    for (int y = czesc.top(); y <= czesc.bottom(); ++y) {
        const uchar* z = reinterpret_cast<const uchar*>(m_plik.constData()) + poczatekWiersza(y);
        auto* c =
            reinterpret_cast<QRgb*>(plotno.scanLine(y - poczatekPlotna.y())) - poczatekPlotna.x();
        for (int x = czesc.left(); x <= czesc.right(); ++x)
            c[x] = pelne ? pelne[z[x]] : qRgb(z[3 * x + 2], z[3 * x + 1], z[3 * x]);
    }
}

void PlikBitmapy::doPliku(const QImage& plotno, QPoint poczatekPlotna, const QColor& tlo) {
    const int szerokosc = plotno.width();
    const int wysokosc = plotno.height();
    // Most of the canvas is an opaque background: what its pixels become, by the index they
    // had, is looked up once for the whole canvas. No canvas pixel is transparent, so a
    // background that is not opaque matches none.
    const QRgb kolorTla = tlo.alpha() == 255 ? tlo.rgb() : 0;
    std::array<uchar, 256> naTle{};
    if (m_paleta && kolorTla != 0) {
        const uchar wpisTla = m_paleta->najblizszy(kolorTla);
        for (std::size_t i = 0; i < naTle.size(); ++i)
            naTle[i] = m_paleta->pelne[i] == kolorTla ? static_cast<uchar>(i) : wpisTla;
    }
    for (int y = 0; y < wysokosc; ++y) {
        uchar* z = wiersz(poczatekPlotna.y() + y);
        const auto* c = reinterpret_cast<const QRgb*>(plotno.constScanLine(y));
        if (m_paleta) {
            z += poczatekPlotna.x();
            const QRgb* pelne = m_paleta->pelne.data();
            // Runs of one colour (the text's core) look the palette up once.
            QRgb ostatni = 0; // no colour of the canvas: they are all opaque
            uchar wpis = 0;
            const auto piksel = [&](int x) {
                const QRgb k = c[x]; // read once: the file's bytes may alias it
                const uchar byl = z[x];
                if (k == kolorTla) {
                    z[x] = naTle[byl];
                    return;
                }
                // An untouched pixel keeps its index, also where two entries share a colour.
                if (k == pelne[byl])
                    return;
                if (k != ostatni) {
                    ostatni = k;
                    wpis = m_paleta->najblizszy(k);
                }
                z[x] = wpis;
            };
            // Sixteen pixels in a row of just the background, as around the text, are only
            // looked up by their index.
            constexpr int kPaczka = 16;
            int x = 0;
            for (; x + kPaczka <= szerokosc; x += kPaczka) {
                QRgb inne = 0;
                for (int j = 0; j < kPaczka; ++j)
                    inne |= c[x + j] ^ kolorTla;
                if (inne == 0 && kolorTla != 0)
                    for (int j = 0; j < kPaczka; ++j)
                        z[x + j] = naTle[z[x + j]];
                else
                    for (int j = 0; j < kPaczka; ++j)
                        piksel(x + j);
            }
            for (; x < szerokosc; ++x)
                piksel(x);
        } else {
            z += 3 * poczatekPlotna.x();
            // A canvas pixel in little-endian order is the file's blue, green and red, and a
            // fourth byte that the next pixel overwrites: one store a pixel, but the last.
            for (int x = 0; x + 1 < szerokosc; ++x) {
                const quint32 k = qToLittleEndian<quint32>(c[x]);
                std::memcpy(z + 3 * x, &k, 4);
            }
            if (szerokosc > 0) {
                const quint32 k = qToLittleEndian<quint32>(c[szerokosc - 1]);
                std::memcpy(z + 3 * (szerokosc - 1), &k, 3);
            }
        }
    }
}

// Draws one label on the part of the bitmap it covers, in 32-bit colour, and puts that part
// back in the file's own pixel format. Labels are drawn one after another, each on what the
// ones before it left.
void PlikBitmapy::rysujNapis(const QRect& prostokat, const QString& tekst, const QColor& tlo,
                             const QFont& czcionka, const Miara& miara, const QColor& kolorTekstu) {
    // The text is shaped once, for both its width and its drawing; the trailing blanks of a
    // padded label count in the width, as in the font's advance of the whole text.
    QTextLayout uklad(tekst, czcionka, miara.urzadzenie);
    QTextOption opcje;
    opcje.setWrapMode(QTextOption::NoWrap);
    opcje.setTextDirection(Qt::LeftToRight); // as a painter of this left-to-right program
    opcje.setFlags(QTextOption::IncludeTrailingSpaces);
    uklad.setTextOption(opcje);
    uklad.setCacheEnabled(true); // else the drawing shapes it again
    uklad.beginLayout();
    QTextLine linia = uklad.createLine();
    linia.setLineWidth(std::numeric_limits<int>::max() / 2.0);
    uklad.endLayout();
    const QRect tloTekstu(prostokat.topLeft(),
                          QSize(qRound(linia.horizontalAdvance()), miara.wysokosc));
    const QRect obszar = (prostokat | tloTekstu) & QRect(0, 0, m_szerokosc, m_wysokosc);
    m_narysowane.push_back({tekst, prostokat, tlo, obszar});
    if (obszar.isEmpty())
        return;
    QImage plotno(obszar.size(), QImage::Format_RGB32);
    // The bitmap's resolution, which the text is laid out for.
    plotno.setDotsPerMeterX(m_rozdzielczosc.width());
    plotno.setDotsPerMeterY(m_rozdzielczosc.height());
    if (tlo.alpha() == 255) {
        // An opaque background covers the two rectangles whole: only the rest of the canvas
        // needs the bitmap's pixels.
        plotno.fill(tlo);
        for (const QRect& r : QRegion(obszar) - QRegion(prostokat) - QRegion(tloTekstu))
            doPlotna(r, plotno, obszar.topLeft());
    } else {
        doPlotna(obszar, plotno, obszar.topLeft());
    }
    {
        QPainter p(&plotno);
        p.translate(-obszar.topLeft());
        if (tlo.alpha() != 255) { // an opaque one filled the canvas already
            p.fillRect(prostokat, tlo);
            p.fillRect(tloTekstu, tlo);
        }
        p.setPen(kolorTekstu);
        // The baseline at the font's ascent, in whole pixels, below the rectangle's top.
        linia.draw(&p,
                   QPointF(prostokat.left(), prostokat.top() + miara.wzniesienie - linia.ascent()));
    }
    doPliku(plotno, obszar.topLeft(), tlo);
}

void PlikBitmapy::rysuj(const QImage& wydruk, const std::vector<NapisEksportu>& napisy,
                        const QFont& czcionka, const QColor& kolorTekstu, SkalaEksportu s,
                        int pikseleNaMetr) {
    if (wydruk.cacheKey() != m_kluczPodstawy || m_podstawa.isEmpty())
        zakodujPodstawe(wydruk);
    const std::size_t zostaja = zostajaNapisy(napisy, czcionka, kolorTekstu, s);
    wrocDoPodstawy(zostaja);
    m_czcionka = czcionka;
    m_kolorTekstu = kolorTekstu;
    // The resolution, horizontal and vertical, at offsets 38 and 42 of the file.
    if (pikseleNaMetr > 0) {
        qToLittleEndian(static_cast<quint32>(pikseleNaMetr), m_plik.data() + 38);
        qToLittleEndian(static_cast<quint32>(pikseleNaMetr), m_plik.data() + 42);
    } else {
        std::memcpy(m_plik.data() + 38, m_podstawa.constData() + 38, 8);
    }
    const auto zTekstem = static_cast<std::size_t>(std::count_if(
        napisy.begin(), napisy.end(), [](const NapisEksportu& n) { return !n.tekst.isEmpty(); }));
    if (zostaja == zTekstem)
        return;
    QImage urzadzenie(1, 1, QImage::Format_RGB32); // the font measured as on the bitmap
    urzadzenie.setDotsPerMeterX(m_rozdzielczosc.width());
    urzadzenie.setDotsPerMeterY(m_rozdzielczosc.height());
    const QFontMetrics fm(czcionka, &urzadzenie);
    const Miara miara{&urzadzenie, fm.height(), fm.ascent()};
    std::size_t kolejny = 0; // of the labels with text
    for (const NapisEksportu& n : napisy)
        if (!n.tekst.isEmpty() && kolejny++ >= zostaja)
            rysujNapis(prostokatNapisu(n.polozenie, n.jednoliniowy, s), n.tekst, n.tlo, czcionka,
                       miara, kolorTekstu);
}

QImage PlikBitmapy::obraz() const {
    const bool paleta = m_paleta != nullptr;
    QImage wynik(m_szerokosc, m_wysokosc, paleta ? QImage::Format_Indexed8 : QImage::Format_BGR888);
    const qsizetype uzyteWiersza = qsizetype(m_szerokosc) * (paleta ? 1 : 3);
    for (int y = 0; y < m_wysokosc; ++y)
        std::memcpy(wynik.scanLine(y), m_plik.constData() + poczatekWiersza(y),
                    static_cast<size_t>(uzyteWiersza));
    if (paleta)
        wynik.setColorTable(m_kolory);
    else
        wynik = std::move(wynik).convertToFormat(m_format);
    wynik.setDotsPerMeterX(static_cast<int>(qFromLittleEndian<quint32>(m_plik.constData() + 38)));
    wynik.setDotsPerMeterY(static_cast<int>(qFromLittleEndian<quint32>(m_plik.constData() + 42)));
    return wynik;
}
