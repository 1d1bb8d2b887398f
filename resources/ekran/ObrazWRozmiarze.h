#pragma once
// A picture decoded to the size it is shown at: the JPEG decoder scales while it decodes (by a
// power of two), a smooth stretch does the rest. The build decodes the embedded screen pictures
// and the window's icon this way ahead of time (resources/ekran/main.cpp), and the program the
// same way when its picture control has another size, so both give the same pixels.

#include <QImage>
#include <QImageReader>
#include <QResource>
#include <QString>

// 32-bit pixels, the transparency (premultiplied) kept when the picture has any.
inline QImage::Format formatZdekodowanego(const QImage& obraz) {
    return obraz.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
}

inline QImage obrazWRozmiarze(const QString& plik, QSize rozmiar) {
    QImageReader czytnik(plik);
    czytnik.setScaledSize(rozmiar);
    QImage obraz = czytnik.read();
    if (!obraz.isNull() && obraz.size() != rozmiar)
        obraz = obraz.scaled(rozmiar, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return obraz.convertToFormat(formatZdekodowanego(obraz));
}

// A picture as the build decoded it, shown straight from the resource's memory; a null image
// when the resource is missing, compressed or decoded to another size.
inline QImage zdekodowanyZasob(const QString& nazwa, QSize rozmiar, QImage::Format format) {
    const QResource zasob(nazwa);
    if (!zasob.isValid() || zasob.compressionAlgorithm() != QResource::NoCompression ||
        zasob.size() != qint64{rozmiar.width()} * rozmiar.height() * 4)
        return {};
    return QImage(zasob.data(), rozmiar.width(), rozmiar.height(), format);
}
