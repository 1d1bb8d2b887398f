#pragma once
// The two overlay types with their pictures and label colours.

#include <QColor>
#include <QImage>
#include <QString>

enum TypWkladki : int {
    WkladkaOgolna = 0,
    WkladkaLekarska = 1,
};

// Label colours as Windows colour values: red in the lowest byte.
constexpr quint32 kKolorNapisowOgolna = 11646133;   // $B1B4B5: red 181, green 180, blue 177
constexpr quint32 kKolorNapisowLekarska = 11053997; // $A8ABAD: red 173, green 171, blue 168
// Label text until the user picks a colour: the window-text colour of the forms as designed
// (black), not the desktop theme's, which may be light on a dark theme; the labels lie on the
// light colours above, on screen and on paper.
constexpr quint32 kKolorTekstuNapisow = 0;

QColor kolorWindows(quint32 wartosc);
// The label colour of an overlay type (any type but the medical one counts as general).
QColor kolorNapisow(int typ);

// Resource names of the pictures.
QString nazwaObrazuEkranowego(int typ);
QString nazwaBitmapyWydruku(int typ);

// The screen picture (JPEG) of a type stretched to `rozmiar`; a null image when the resource
// is missing. The picture is only ever shown at its control's size: at the window's own size
// it comes decoded by the build (no work at all), at any other it is decoded straight to that
// size, a fraction of the time and memory of the full picture.
QImage obrazEkranowy(int typ, QSize rozmiar);
// The print bitmap (Windows bitmap at 300 dpi) of a type, decoded once and kept for the whole
// run; a null image when the resource is missing.
const QImage& bitmapaWydruku(int typ);
// The window's icon (128 x 128): as the build decoded it, which spares the start-up loading
// every image-format plugin installed to read the PNG; the PNG when that is missing.
QImage ikonaOkna();
