#pragma once
// The overlay bitmap export without its widgets: the scale from the window to the print
// bitmap, the label rectangles, the label font and the drawing of the labels onto a copy of
// the print bitmap in its own pixel format (done by PlikBitmapy, overlay/PlikBitmapy.h).

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <vector>

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
