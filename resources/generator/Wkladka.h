#pragma once

#include <QImage>
#include <QRect>

// Drawing of the two keyboard overlays. Everything is laid out in the main window's units: the
// overlay picture control is 358 x 406 and the label edits sit at fixed places on it, so a
// picture drawn here at any scale puts its label windows under the edits once it is stretched
// back to 358 x 406.

enum class TypWkladki { Ogolna, Lekarska };

// How window units become pixels of one picture: x * sx + dx, y * sy.
struct Odwzorowanie {
    double sx = 1.0;
    double sy = 1.0;
    double dx = 0.0;
    // Scale of the label export onto the print bitmap that this picture becomes (or is). The
    // export places labels at Trunc(L*esx + 239), so a label window also covers that rectangle,
    // moved by (dx - 239) into this picture. esx == 0 means the picture never becomes a print
    // bitmap and only the edits matter.
    double esx = 0.0;
    double esy = 0.0;
};

constexpr int kSzerokoscOkna = 358;
constexpr int kWysokoscOkna = 406;
constexpr int kPasekWydruku = 239;
constexpr int kSzerokoscEksportu = 437; // Trunc(358 * 1.223)

// The label window of key 0..8 in pixels of a picture, inclusive bounds: both label lines of keys
// 0 to 4, the single line of keys 5 to 8.
QRect obszarNapisu(const Odwzorowanie& o, int klawisz);

// The overlay itself (plate, keys, label windows, printed captions) onto an RGB32 image.
void rysujWkladke(QImage& obraz, const Odwzorowanie& o, TypWkladki typ);

// The 239-pixel strip at the left of a print bitmap: title and cut line.
void rysujPasek(QImage& obraz, TypWkladki typ);

// The label colour that the edits get for this overlay type.
QRgb kolorNapisu(TypWkladki typ);

// A fixed 256-entry palette for the 8-bit print bitmap: the overlay's own colours exactly, then a
// colour cube and a grey ramp for the antialiased edges.
QList<QRgb> paleta256();
