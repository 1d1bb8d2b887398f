#pragma once
// A screen picture decoded to the size it is shown at: the JPEG decoder scales while it
// decodes (by a power of two), a smooth stretch does the rest. The build decodes the embedded
// pictures this way ahead of time (resources/ekran/main.cpp), and the program the same way when
// its picture control has another size, so both give the same pixels.

#include <QImage>
#include <QImageReader>
#include <QString>

inline QImage obrazWRozmiarze(const QString& plik, QSize rozmiar) {
    QImageReader czytnik(plik);
    czytnik.setScaledSize(rozmiar);
    QImage obraz = czytnik.read();
    if (!obraz.isNull() && obraz.size() != rozmiar)
        obraz = obraz.scaled(rozmiar, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return obraz.convertToFormat(QImage::Format_RGB32);
}
