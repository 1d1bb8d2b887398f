#include "Wkladka.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <array>
#include <cmath>

namespace {

// First label edit of each key (window units); keys 0 to 4 have their second line 16 lower.
struct Pole {
    int L, T, W, H;
};
constexpr std::array<Pole, 9> kPola{{{12, 12, 46, 16},
                                     {84, 12, 46, 16},
                                     {153, 12, 49, 16},
                                     {223, 12, 48, 16},
                                     {295, 12, 50, 16},
                                     {84, 95, 46, 16},
                                     {153, 95, 46, 16},
                                     {225, 95, 48, 16},
                                     {295, 95, 46, 16}}};
constexpr int kSzerokoscNapisuEksportu = 46; // the export uses 46 whatever the edit's width

// Key bodies: five columns around the label edits, six rows; a title band below them.
struct Zakres {
    double od, doo;
};
constexpr std::array<Zakres, 5> kKolumny{{{4, 66}, {76, 138}, {145, 210}, {215, 281}, {287, 353}}};
constexpr std::array<Zakres, 6> kWiersze{
    {{4, 52}, {62, 130}, {137, 193}, {199, 255}, {261, 317}, {323, 379}}};
constexpr Zakres kPasTytulu{384, 404};

const std::array<QString, 9> kLewyAlt{"A", "B", "C", "D", "E", "G", "H", "I", "J"};
const std::array<QString, 9> kPrawyAlt{"Ą", "&", "Ć", "%", "Ę", ")", "-", "+", "="};

struct Schemat {
    QColor plyta, ramka, cien;
    QColor klawiszF, klawiszCyfra, klawiszSter, klawiszAkcent, obrys;
    QColor tekst, tekstSter, tekstAkcent, tekstTytulu;
    QColor obwodkaNapisu, napis;
    QString tytul;
    std::array<QString, 4> nadNapisem; // direct-layer captions of keys 5 to 8
    QString usluga, rabat;
};

Schemat schemat(TypWkladki typ) {
    if (typ == TypWkladki::Ogolna) {
        return {QColor(58, 62, 68),
                QColor(200, 200, 196),
                QColor(30, 32, 36),
                QColor(222, 222, 218),
                QColor(248, 248, 246),
                QColor(150, 154, 160),
                QColor(178, 34, 34),
                QColor(24, 24, 24),
                QColor(20, 20, 20),
                QColor(255, 255, 255),
                QColor(255, 255, 255),
                QColor(235, 235, 235),
                QColor(96, 96, 94),
                QColor(181, 180, 177),
                QStringLiteral("TALMO PIXO E  ·  wkładka ogólna"),
                {"KOD", "CENA", "ILOŚĆ", "STORNO"},
                QStringLiteral("PLU"),
                QStringLiteral("RABAT")};
    }
    return {QColor(22, 84, 110),
            QColor(190, 220, 230),
            QColor(8, 40, 56),
            QColor(214, 228, 234),
            QColor(246, 250, 252),
            QColor(120, 160, 178),
            QColor(30, 130, 76),
            QColor(10, 44, 60),
            QColor(10, 30, 40),
            QColor(255, 255, 255),
            QColor(255, 255, 255),
            QColor(240, 248, 250),
            QColor(70, 92, 104),
            QColor(173, 171, 168),
            QStringLiteral("TALMO PIXO E  ·  wkładka lekarska"),
            {"KOD", "CENA", "WIZYTA", "STORNO"},
            QStringLiteral("USŁUGA"),
            QStringLiteral("ZNIŻKA")};
}

QRectF mapuj(const Odwzorowanie& o, const QRectF& u) {
    return QRectF(u.x() * o.sx + o.dx, u.y() * o.sy, u.width() * o.sx, u.height() * o.sy);
}

QRectF prostokat(double x1, double y1, double x2, double y2) {
    return QRectF(QPointF(x1, y1), QPointF(x2, y2));
}

// Fonts are given in window units and scaled with the picture; a caption too wide for its key is
// shrunk until it fits, so long Polish function names stay inside.
void tekst(QPainter& p, const Odwzorowanie& o, const QRectF& u, const QString& s, double rozmiar,
           bool gruby, bool waski, int wyrownanie, const QColor& kolor) {
    const QRectF r = mapuj(o, u);
    QFont f(waski ? QStringLiteral("DejaVu Sans Condensed") : QStringLiteral("DejaVu Sans"));
    f.setBold(gruby);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferAntialias);
    int px = std::max(6, static_cast<int>(std::lround(rozmiar * o.sy)));
    for (;;) {
        f.setPixelSize(px);
        if (px <= 6 || QFontMetricsF(f).horizontalAdvance(s) <= r.width()) {
            break;
        }
        --px;
    }
    p.setFont(f);
    p.setPen(kolor);
    p.drawText(r, wyrownanie, s);
}

void klawisz(QPainter& p, const Odwzorowanie& o, const Schemat& sch, const QRectF& u,
             const QColor& wypelnienie) {
    const double promien = 4.0 * o.sx;
    p.setPen(Qt::NoPen);
    p.setBrush(sch.cien);
    p.drawRoundedRect(mapuj(o, u.translated(0.8, 1.1)), promien, promien);
    p.setPen(QPen(sch.obrys, 0.7 * o.sx));
    p.setBrush(wypelnienie);
    p.drawRoundedRect(mapuj(o, u), promien, promien);
}

QRectF cialo(int kolumna, int wiersz) {
    return prostokat(kKolumny[kolumna].od, kWiersze[wiersz].od, kKolumny[kolumna].doo,
                     kWiersze[wiersz].doo);
}

void klawiszZNapisem(QPainter& p, const Odwzorowanie& o, const Schemat& sch, int kolumna,
                     int wiersz, const QColor& wypelnienie, const QColor& kolorTekstu,
                     const QString& glowny, double rozmiar, const QString& maly = {}) {
    const QRectF u = cialo(kolumna, wiersz);
    klawisz(p, o, sch, u, wypelnienie);
    const QRectF wnetrze = u.adjusted(3, 3, -3, -3);
    if (maly.isEmpty()) {
        tekst(p, o, wnetrze, glowny, rozmiar, true, rozmiar < 14, Qt::AlignCenter, kolorTekstu);
        return;
    }
    const double podzial = wnetrze.top() + wnetrze.height() * 0.62;
    tekst(p, o, prostokat(wnetrze.left(), wnetrze.top(), wnetrze.right(), podzial), glowny, rozmiar,
          true, rozmiar < 14, Qt::AlignHCenter | Qt::AlignBottom, kolorTekstu);
    tekst(p, o, prostokat(wnetrze.left(), podzial + 1, wnetrze.right(), wnetrze.bottom()), maly,
          7.5, false, true, Qt::AlignHCenter | Qt::AlignTop, kolorTekstu);
}

// One label window: a darker rim around the exact label area, the area in the label colour,
// and the overlay's own printed default texts (seen when the label edits are hidden).
void oknoNapisu(QPainter& p, const Odwzorowanie& o, const Schemat& sch, int k) {
    const QRect obszar = obszarNapisu(o, k);
    const int rant = std::max(2, static_cast<int>(std::lround(o.sx)));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(obszar.adjusted(-rant, -rant, rant, rant), sch.obwodkaNapisu);
    p.fillRect(obszar, sch.napis);
    p.setRenderHint(QPainter::Antialiasing, true);

    const Pole& e = kPola[k];
    // Captions keep within the export's 46-unit width too, so that an exported label hides them
    // on the wider edits as well.
    const int szer = std::min(e.W, kSzerokoscNapisuEksportu);
    const auto linia = [&](int top) { return QRectF(e.L + 2.5, top, szer - 5.0, e.H); };
    const int vc = Qt::AlignVCenter;
    if (k < 5) {
        tekst(p, o, linia(e.T), QStringLiteral("F%1").arg(k + 1), 11, true, false,
              Qt::AlignLeft | vc, sch.tekst);
        tekst(p, o, linia(e.T + e.H), kLewyAlt[k], 9.5, false, false, Qt::AlignLeft | vc,
              sch.tekst);
        tekst(p, o, linia(e.T + e.H), kPrawyAlt[k], 9.5, false, false, Qt::AlignRight | vc,
              sch.tekst);
    } else {
        tekst(p, o, linia(e.T), kLewyAlt[k], 9.5, false, false, Qt::AlignLeft | vc, sch.tekst);
        tekst(p, o, linia(e.T), kPrawyAlt[k], 9.5, false, false, Qt::AlignRight | vc, sch.tekst);
    }
}

void krzyzMedyczny(QPainter& p, const Odwzorowanie& o, const QPointF& srodek, double r,
                   const QColor& tlo, const QColor& kolor) {
    p.setPen(Qt::NoPen);
    p.setBrush(tlo);
    const QRectF kolo = mapuj(o, QRectF(srodek.x() - r, srodek.y() - r, 2 * r, 2 * r));
    p.drawEllipse(kolo);
    p.setBrush(kolor);
    const double a = r * 0.62, b = r * 0.2;
    p.drawRect(mapuj(o, QRectF(srodek.x() - a, srodek.y() - b, 2 * a, 2 * b)));
    p.drawRect(mapuj(o, QRectF(srodek.x() - b, srodek.y() - a, 2 * b, 2 * a)));
}

} // namespace

QRect obszarNapisu(const Odwzorowanie& o, int k) {
    const Pole& e = kPola[k];
    const int dol = k < 5 ? e.T + 2 * e.H : e.T + e.H;
    // What the stretched edit covers, widened to whole pixels.
    int lewo = static_cast<int>(std::floor(e.L * o.sx + o.dx));
    int prawo = static_cast<int>(std::ceil((e.L + e.W) * o.sx + o.dx)) - 1;
    int gora = static_cast<int>(std::floor(e.T * o.sy));
    int dolPx = static_cast<int>(std::ceil(dol * o.sy)) - 1;
    if (o.esx > 0.0) {
        // Where the export fills the label (right and bottom included, to be safe about how the
        // fill treats its far edges).
        const double przes = o.dx - kPasekWydruku;
        const int gornaKrawedz = k < 5 ? e.T : e.T + 2;
        const int el = static_cast<int>(std::trunc(e.L * o.esx + kPasekWydruku) + przes);
        const int ep = static_cast<int>(
            std::trunc((e.L + kSzerokoscNapisuEksportu) * o.esx + kPasekWydruku) + przes);
        const int eg = static_cast<int>(std::trunc(gornaKrawedz * o.esy));
        const int ed = static_cast<int>(std::trunc(dol * o.esy));
        lewo = std::min(lewo, el);
        prawo = std::max(prawo, ep);
        gora = std::min(gora, eg);
        dolPx = std::max(dolPx, ed);
    }
    return QRect(QPoint(lewo, gora), QPoint(prawo, dolPx));
}

QRgb kolorNapisu(TypWkladki typ) {
    return schemat(typ).napis.rgb();
}

void rysujWkladke(QImage& obraz, const Odwzorowanie& o, TypWkladki typ) {
    const Schemat sch = schemat(typ);
    QPainter p(&obraz);
    p.setClipRect(mapuj(o, QRectF(0, 0, kSzerokoscOkna, kWysokoscOkna)).toAlignedRect());
    p.fillRect(mapuj(o, QRectF(0, 0, kSzerokoscOkna, kWysokoscOkna)), sch.plyta);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);

    // Frame round the plate.
    p.setPen(QPen(sch.ramka, 1.2 * o.sx));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(mapuj(o, prostokat(1.4, 1.4, kSzerokoscOkna - 1.4, kWysokoscOkna - 1.4)),
                      6 * o.sx, 6 * o.sx);

    // Top row: the definable keys F1 to F5 (keys 0 to 4).
    for (int k = 0; k < 5; ++k) {
        klawisz(p, o, sch, cialo(k, 0), sch.klawiszF);
        oknoNapisu(p, o, sch, k);
    }

    // Second row: left Alt, then keys 5 to 8 under keys 1 to 4; their own (direct) function is
    // printed above the label window.
    klawiszZNapisem(p, o, sch, 0, 1, sch.klawiszSter, sch.tekstSter, QStringLiteral("LEWY"), 10,
                    QStringLiteral("ALT"));
    for (int k = 5; k < 9; ++k) {
        const int kol = k - 4;
        const QRectF u = cialo(kol, 1);
        klawisz(p, o, sch, u, sch.klawiszF);
        tekst(p, o, prostokat(u.left() + 3, u.top() + 3, u.right() - 3, kPola[k].T - 4),
              sch.nadNapisem[k - 5], 10, true, true, Qt::AlignCenter, sch.tekst);
        oknoNapisu(p, o, sch, k);
    }

    // The register's own keys.
    klawiszZNapisem(p, o, sch, 0, 2, sch.klawiszSter, sch.tekstSter, QStringLiteral("PRAWY"), 10,
                    QStringLiteral("ALT"));
    klawiszZNapisem(p, o, sch, 0, 3, sch.klawiszF, sch.tekst, sch.usluga, 11);
    klawiszZNapisem(p, o, sch, 0, 4, sch.klawiszF, sch.tekst, sch.rabat, 11);
    klawiszZNapisem(p, o, sch, 0, 5, sch.klawiszF, sch.tekst, QStringLiteral("MENU"), 11);
    const std::array<std::array<const char*, 3>, 4> cyfry{
        {{"7", "8", "9"}, {"4", "5", "6"}, {"1", "2", "3"}, {"0", "00", ","}}};
    for (int w = 0; w < 4; ++w) {
        for (int c = 0; c < 3; ++c) {
            klawiszZNapisem(p, o, sch, c + 1, w + 2, sch.klawiszCyfra, sch.tekst,
                            QString::fromLatin1(cyfry[w][c]), 26);
        }
    }
    klawiszZNapisem(p, o, sch, 4, 2, sch.klawiszF, sch.tekst, QStringLiteral("C"), 22,
                    QStringLiteral("KASUJ"));
    klawiszZNapisem(p, o, sch, 4, 3, sch.klawiszF, sch.tekst, QStringLiteral("×"), 22,
                    QStringLiteral("RAZY"));
    klawiszZNapisem(p, o, sch, 4, 4, sch.klawiszF, sch.tekst, QStringLiteral("PODSUMA"), 11);
    klawiszZNapisem(p, o, sch, 4, 5, sch.klawiszAkcent, sch.tekstAkcent, QStringLiteral("RAZEM"),
                    12, QStringLiteral("GOTÓWKA"));

    // Title band.
    const QRectF pas = prostokat(kKolumny[0].od, kPasTytulu.od, kKolumny[4].doo, kPasTytulu.doo);
    tekst(p, o, pas, sch.tytul, 11, true, false, Qt::AlignCenter, sch.tekstTytulu);
    if (typ == TypWkladki::Lekarska) {
        const double y = (kPasTytulu.od + kPasTytulu.doo) / 2;
        krzyzMedyczny(p, o, QPointF(26, y), 8, sch.tekstTytulu, sch.klawiszAkcent);
        krzyzMedyczny(p, o, QPointF(kSzerokoscOkna - 26, y), 8, sch.tekstTytulu, sch.klawiszAkcent);
    }
}

void rysujPasek(QImage& obraz, TypWkladki typ) {
    QPainter p(&obraz);
    p.fillRect(QRect(0, 0, kPasekWydruku, obraz.height()), Qt::white);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);

    // Cut line at the overlay's left edge, with ticks at both ends.
    QPen kreska(QColor(96, 96, 96), 3, Qt::DashLine);
    p.setPen(kreska);
    const int x = kPasekWydruku - 8;
    p.drawLine(x, 0, x, obraz.height());
    p.setPen(QPen(Qt::black, 3));
    p.drawLine(x - 40, 2, x, 2);
    p.drawLine(x - 40, obraz.height() - 3, x, obraz.height() - 3);

    // Title, read from below.
    p.save();
    p.translate(kPasekWydruku / 2.0 - 4, obraz.height() / 2.0);
    p.rotate(-90);
    QFont duza(QStringLiteral("DejaVu Sans"));
    duza.setBold(true);
    duza.setPixelSize(68);
    duza.setHintingPreference(QFont::PreferNoHinting);
    QFont mala(QStringLiteral("DejaVu Sans"));
    mala.setPixelSize(42);
    mala.setHintingPreference(QFont::PreferNoHinting);
    const double polowa = obraz.height() / 2.0;
    p.setPen(Qt::black);
    p.setFont(duza);
    p.drawText(QRectF(-polowa, -95, 2 * polowa, 85), Qt::AlignHCenter | Qt::AlignBottom,
               QStringLiteral("TALMO PIXO E"));
    p.setFont(mala);
    p.setPen(typ == TypWkladki::Lekarska ? QColor(30, 130, 76) : QColor(178, 34, 34));
    p.drawText(QRectF(-polowa, 5, 2 * polowa, 60), Qt::AlignHCenter | Qt::AlignTop,
               typ == TypWkladki::Lekarska ? QStringLiteral("wkładka lekarska")
                                           : QStringLiteral("wkładka ogólna"));
    p.restore();
}

QList<QRgb> paleta256() {
    QList<QRgb> t;
    const auto dodaj = [&t](QRgb c) {
        c |= 0xff000000u;
        if (t.size() < 256 && !t.contains(c)) {
            t.append(c);
        }
    };
    const Schemat s = schemat(TypWkladki::Ogolna);
    for (const QColor& c : {s.plyta, s.ramka, s.cien, s.klawiszF, s.klawiszCyfra, s.klawiszSter,
                            s.klawiszAkcent, s.obrys, s.tekst, s.tekstSter, s.tekstAkcent,
                            s.tekstTytulu, s.obwodkaNapisu, s.napis, QColor(96, 96, 96)}) {
        dodaj(c.rgb());
    }
    dodaj(qRgb(0, 0, 0));
    dodaj(qRgb(255, 255, 255));
    for (int r = 0; r < 6; ++r) {
        for (int g = 0; g < 6; ++g) {
            for (int b = 0; b < 6; ++b) {
                dodaj(qRgb(r * 51, g * 51, b * 51));
            }
        }
    }
    for (int krok : {16, 8, 4, 2, 1}) {
        for (int v = 0; v < 256; v += krok) {
            dodaj(qRgb(v, v, v));
        }
    }
    return t;
}
