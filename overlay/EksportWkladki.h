#pragma once
// The overlay bitmap export without its widgets: the scale from the window to the print
// bitmap, the label rectangles, the label font and the drawing of the labels onto a copy of
// the print bitmap in its own pixel format.

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <memory>
#include <vector>

class QPaintDevice;

// Labels sit this many bitmap pixels right of their scaled window position: the print bitmap
// carries a strip at its left edge that the screen picture lacks.
constexpr int kPrzesuniecieNapisow = 239;
// The print bitmaps have 300 pixels per inch.
constexpr int kPikseliNaMetr = 11811;
// Font sizes convert between points and pixels as on a 96 dpi screen.
constexpr int kDpiEkranu = 96;

struct SkalaEksportu {
    double sx = 1.0;
    double sy = 1.0;
};

// The drawing surface: the overlay picture control's width times 1.223 (truncated) by its
// height; 437 x 406 with the standard window.
QSize powierzchniaEksportu(QSize kontrolka);
SkalaEksportu skalaEksportu(QSize bitmapa, QSize kontrolka);

// The rectangle filled behind a label whose edit lies at `lewyGorny` in the window. All edits
// count as 46 pixels wide; one-line labels (keys 5 to 8) start 2 pixels below their edit.
// Right and bottom are exclusive, as in the filled area.
QRect prostokatNapisu(QPoint lewyGorny, bool jednoliniowy, SkalaEksportu s);

// a * b / c rounded half away from zero, the rounding of the system's font size conversions.
int mnozDziel(int a, int b, int c);
// The pixel height of a font on the 96 dpi screen.
int pikseleCzcionki(const QFont& f);
// The export's font: the label font with its point size multiplied by sy and truncated, at
// the pixel height that point size has on screen (a 12-pixel, 9-point font gives 26 points,
// 35 pixels, for sy = 2.99).
QFont czcionkaEksportu(const QFont& ekranowa, double sy);

// A label filled up with blanks to the edit's length of 8; a longer one stays as it is.
QString dopelnijNapis(const QString& tekst);

struct NapisEksportu {
    QString tekst;    // empty: nothing is drawn
    QPoint polozenie; // the edit's top-left corner in the window
    bool jednoliniowy = false;
    QColor tlo; // the edit's background colour
};

// Draws the labels, in the given order, onto a copy of the print bitmap: each one's rectangle
// is filled with its background colour, then its text is written from the rectangle's
// top-left corner on an opaque background of the same colour. The copy keeps the bitmap's
// size, format, palette and resolution; on a palette bitmap each drawn pixel takes the
// nearest palette colour and untouched pixels keep their index.
QImage rysujNapisy(const QImage& wydruk, const std::vector<NapisEksportu>& napisy,
                   const QFont& czcionka, const QColor& kolorTekstu, SkalaEksportu s);

// The export's bitmap file in the making: the print bitmap is encoded once (zakodujBmp), each
// export starts again from those bytes and draws its labels, as rysujNapisy does, straight
// into the file's rows, so that the file is written as it stands, without being encoded
// again. Only the parts the previous export drew are put back, not the whole bitmap; and the
// labels that begin the list as the previous export drew them (the same text, place and
// background, in the same font and text colour) stay as they are, unless a label drawn after
// them covered part of them, since each label is drawn on what the ones before it left.
class PlikBitmapy {
public:
    // The labels on the print bitmap `wydruk` (encoded anew only when it is another bitmap
    // than the last one's), the file's resolution `pikseleNaMetr`, or the bitmap's own at 0.
    void rysuj(const QImage& wydruk, const std::vector<NapisEksportu>& napisy,
               const QFont& czcionka, const QColor& kolorTekstu, SkalaEksportu s,
               int pikseleNaMetr = 0);
    // The Windows bitmap file: what zakodujBmp gives for the drawn bitmap.
    QByteArrayView dane() const { return m_plik; }
    // The drawn bitmap, in the print bitmap's format and with its palette.
    QImage obraz() const;

private:
    struct Paleta;
    // A label as drawn into the file; `obszar` is what it covered, empty for one off the
    // bitmap.
    struct Narysowany {
        QString tekst;
        QRect prostokat;
        QColor tlo;
        QRect obszar;
    };
    void zakodujPodstawe(const QImage& wydruk);
    // Puts the bitmap back under every label drawn after the first `zostaja` ones.
    void wrocDoPodstawy(std::size_t zostaja);
    std::size_t zostajaNapisy(const std::vector<NapisEksportu>& napisy, const QFont& czcionka,
                              const QColor& kolorTekstu, SkalaEksportu s) const;
    // The file's pixels of `czesc` onto the canvas whose top-left lies at `poczatekPlotna` of
    // the bitmap, and the whole canvas, drawn on the background `tlo`, back into the file.
    void doPlotna(const QRect& czesc, QImage& plotno, QPoint poczatekPlotna) const;
    void doPliku(const QImage& plotno, QPoint poczatekPlotna, const QColor& tlo);
    // The labels' font as on the bitmap: the device it is laid out for, its line height and
    // its ascent in whole pixels.
    struct Miara {
        QPaintDevice* urzadzenie;
        int wysokosc;
        int wzniesienie;
    };
    void rysujNapis(const QRect& prostokat, const QString& tekst, const QColor& tlo,
                    const QFont& czcionka, const Miara& miara, const QColor& kolorTekstu);
    qsizetype poczatekWiersza(int y) const;
    uchar* wiersz(int y);

    qint64 m_kluczPodstawy = 0;
    QImage::Format m_format = QImage::Format_Invalid;
    QByteArray m_podstawa; // the print bitmap's file, without labels
    QByteArray m_plik;
    QList<QRgb> m_kolory; // the palette, empty for 24 bits
    std::shared_ptr<Paleta> m_paleta;
    std::vector<Narysowany> m_narysowane; // the labels in the file, in the order drawn
    QFont m_czcionka;                     // theirs
    QColor m_kolorTekstu;
    int m_szerokosc = 0;
    int m_wysokosc = 0;
    QSize m_rozdzielczosc; // the print bitmap's, in pixels per metre
    qsizetype m_dlugoscWiersza = 0;
    qsizetype m_poczatekDanych = 0;
};

// A Windows bitmap file of the image, uncompressed: 8 bits per pixel with the image's own
// palette for a palette image, else 24 bits; the image's resolution goes into the header.
QByteArray zakodujBmp(const QImage& obraz);
void zakodujBmp(const QImage& obraz, QByteArray& bufor); // reuses the buffer's memory
// Writes a Windows bitmap whole or not at all (BladProgramu on failure, the named file then
// left as it was); `bufor`, when given, holds the encoded file and keeps its memory.
void zapiszBitmape(const QImage& obraz, const QString& sciezka, QByteArray* bufor = nullptr);

// Replaces the extension of the file name (the part from its last dot) by `rozszerzenie`
// (given with its dot); a name without one gets it appended, a name ending in a dot has an
// empty one. The folder stays.
QString zmienRozszerzenie(const QString& sciezka, const QString& rozszerzenie);
