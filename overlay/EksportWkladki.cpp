#include "overlay/EksportWkladki.h"

#include <QFontMetrics>
#include <QHash>
#include <QImageWriter>
#include <QPainter>
#include <cmath>
#include <cstring>

#include "core/BladProgramu.h"
#include "overlay/ZapisPliku.h"

QSize powierzchniaEksportu(QSize kontrolka) {
    return {static_cast<int>(std::trunc(kontrolka.width() * 1.223)), kontrolka.height()};
}

SkalaEksportu skalaEksportu(QSize bitmapa, QSize kontrolka) {
    const QSize p = powierzchniaEksportu(kontrolka);
    return {static_cast<double>(bitmapa.width()) / p.width(),
            static_cast<double>(bitmapa.height()) / p.height()};
}

QRect prostokatNapisu(QPoint lewyGorny, bool jednoliniowy, SkalaEksportu s) {
    const double L = lewyGorny.x();
    const double T = lewyGorny.y();
    const int lewa = static_cast<int>(std::trunc(L * s.sx + kPrzesuniecieNapisow));
    const int gora = static_cast<int>(std::trunc((jednoliniowy ? T + 2 : T) * s.sy));
    const int prawa = static_cast<int>(std::trunc((L + 46) * s.sx + kPrzesuniecieNapisow));
    const int dol = static_cast<int>(std::trunc((T + 16) * s.sy));
    return QRect(QPoint(lewa, gora), QSize(prawa - lewa, dol - gora));
}

int mnozDziel(int a, int b, int c) {
    const long long iloczyn = static_cast<long long>(a) * b;
    const long long wynik = (std::llabs(iloczyn) + std::llabs(c) / 2) / std::llabs(c);
    return static_cast<int>((iloczyn < 0) != (c < 0) ? -wynik : wynik);
}

int pikseleCzcionki(const QFont& f) {
    if (f.pixelSize() > 0)
        return f.pixelSize();
    return static_cast<int>(std::lround(f.pointSizeF() * kDpiEkranu / 72.0));
}

QFont czcionkaEksportu(const QFont& ekranowa, double sy) {
    // The label font's size in whole points, as the screen gives it, scaled and truncated,
    // then back to pixels at the screen's resolution.
    const int punkty = mnozDziel(pikseleCzcionki(ekranowa), 72, kDpiEkranu);
    const int punktyEksportu = static_cast<int>(std::trunc(punkty * sy));
    QFont f(ekranowa);
    f.setPixelSize(std::max(1, mnozDziel(punktyEksportu, kDpiEkranu, 72)));
    return f;
}

QString dopelnijNapis(const QString& tekst) {
    if (tekst.size() >= 8)
        return tekst;
    return tekst + QString(8 - tekst.size(), QLatin1Char(' '));
}

namespace {

// The nearest palette entry of a colour, by distance in RGB; the first of equals wins.
class Paleta {
public:
    explicit Paleta(const QList<QRgb>& kolory) : m_kolory(kolory) {}

    uchar najblizszy(QRgb c) {
        c |= 0xFF000000u;
        if (const auto it = m_pamiec.constFind(c); it != m_pamiec.constEnd())
            return *it;
        int najlepszy = 0;
        long najmniej = -1;
        for (int i = 0; i < m_kolory.size(); ++i) {
            const long dr = qRed(c) - qRed(m_kolory[i]);
            const long dg = qGreen(c) - qGreen(m_kolory[i]);
            const long db = qBlue(c) - qBlue(m_kolory[i]);
            const long d = dr * dr + dg * dg + db * db;
            if (najmniej < 0 || d < najmniej) {
                najmniej = d;
                najlepszy = i;
            }
        }
        m_pamiec.insert(c, static_cast<uchar>(najlepszy));
        return static_cast<uchar>(najlepszy);
    }

private:
    QList<QRgb> m_kolory;
    QHash<QRgb, uchar> m_pamiec;
};

struct RysowanyNapis {
    QString tekst;
    QRect prostokat; // filled with the background colour
    QRect tloTekstu; // the text's own opaque background
    QColor tlo;
};

} // namespace

QImage rysujNapisy(const QImage& wydruk, const std::vector<NapisEksportu>& napisy,
                   const QFont& czcionka, const QColor& kolorTekstu, SkalaEksportu s) {
    QImage wynik = wydruk.copy();
    const QFontMetrics fm(czcionka, &wynik);

    std::vector<RysowanyNapis> doRysowania;
    QRect obszar;
    for (const NapisEksportu& n : napisy) {
        if (n.tekst.isEmpty())
            continue;
        RysowanyNapis r;
        r.tekst = n.tekst;
        r.prostokat = prostokatNapisu(n.polozenie, n.jednoliniowy, s);
        r.tloTekstu =
            QRect(r.prostokat.topLeft(), QSize(fm.horizontalAdvance(n.tekst), fm.height()));
        r.tlo = n.tlo;
        obszar |= r.prostokat | r.tloTekstu;
        doRysowania.push_back(r);
    }
    obszar &= wynik.rect();
    if (obszar.isEmpty())
        return wynik;

    // Only the part under the labels is drawn, in 32-bit colour, and then put back in the
    // bitmap's own format.
    const QImage przed = wynik.copy(obszar).convertToFormat(QImage::Format_RGB32);
    QImage plotno = przed.copy();
    {
        QPainter p(&plotno);
        p.translate(-obszar.topLeft());
        p.setFont(czcionka);
        for (const RysowanyNapis& r : doRysowania) {
            p.fillRect(r.prostokat, r.tlo);
            p.fillRect(r.tloTekstu, r.tlo);
            p.setPen(kolorTekstu);
            p.drawText(QPoint(r.prostokat.left(), r.prostokat.top() + fm.ascent()), r.tekst);
        }
    }

    if (wynik.format() == QImage::Format_Indexed8) {
        Paleta paleta(wynik.colorTable());
        for (int y = 0; y < obszar.height(); ++y) {
            const auto* poDrodze = reinterpret_cast<const QRgb*>(plotno.constScanLine(y));
            const auto* wczesniej = reinterpret_cast<const QRgb*>(przed.constScanLine(y));
            uchar* cel = wynik.scanLine(obszar.top() + y) + obszar.left();
            for (int x = 0; x < obszar.width(); ++x)
                if (poDrodze[x] != wczesniej[x])
                    cel[x] = paleta.najblizszy(poDrodze[x]);
        }
    } else {
        const QImage gotowe = plotno.convertToFormat(wynik.format());
        const int bajtyNaPiksel = wynik.depth() / 8;
        for (int y = 0; y < obszar.height(); ++y)
            std::memcpy(wynik.scanLine(obszar.top() + y) + obszar.left() * bajtyNaPiksel,
                        gotowe.constScanLine(y),
                        static_cast<size_t>(obszar.width()) * bajtyNaPiksel);
    }
    return wynik;
}

void zapiszBitmape(const QImage& obraz, const QString& sciezka) {
    zapiszBezpiecznie(sciezka, [&](QIODevice& plik) {
        QImageWriter pisarz(&plik, "bmp");
        return pisarz.write(obraz);
    });
}

namespace {

QString nazwaBezFolderu(const QString& sciezka) {
    const qsizetype ukosnik = sciezka.lastIndexOf(QLatin1Char('/'));
    return ukosnik < 0 ? sciezka : sciezka.mid(ukosnik + 1);
}

// The letter case of names is folded for ASCII letters only, as the system compares them.
QString wielkieAscii(QString s) {
    for (QChar& c : s)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    return s;
}

} // namespace

bool zastrzezonaNazwa(const QString& sciezka) {
    const QString nazwa = wielkieAscii(nazwaBezFolderu(sciezka));
    return nazwa == QLatin1String("KONFIG.TXT") || nazwa == QLatin1String("RAPORT.TXT");
}

bool maRozszerzenie(const QString& sciezka) {
    const QString nazwa = nazwaBezFolderu(sciezka);
    const qsizetype kropka = nazwa.lastIndexOf(QLatin1Char('.'));
    return kropka >= 0 && kropka + 1 < nazwa.size();
}

QString zmienRozszerzenie(const QString& sciezka, const QString& rozszerzenie) {
    const qsizetype poczatekNazwy = sciezka.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype kropka = sciezka.lastIndexOf(QLatin1Char('.'));
    if (kropka >= poczatekNazwy)
        return sciezka.left(kropka) + rozszerzenie;
    return sciezka + rozszerzenie;
}
