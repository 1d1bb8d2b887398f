#pragma once
// Printing the overlay bitmap at its physical size: 300 bitmap pixels per inch, whatever the
// printer's own resolution.

#include <QImage>
#include <QSize>
#include <QString>

class QPrinter;

constexpr double kDpiBitmapy = 300.0;

// The printed size in printer pixels: each direction scaled by the printer's resolution in
// that direction, truncated.
QSize rozmiarNaDrukarce(QSize bitmapa, double dpiX, double dpiY);

// Prints one page with the image stretched to rozmiarNaDrukarce at the top-left corner of the
// printable area, under the given job title. A job that has begun is ended in every case;
// BladProgramu when the job cannot begin or cannot be finished (the page not sent).
void drukujObraz(QPrinter& drukarka, const QImage& obraz, const QString& tytul);
