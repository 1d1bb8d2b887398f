// Build step: decodes a picture to the size the window shows it at and writes the pixels raw
// (32-bit RGB, or premultiplied ARGB when the picture has transparency, in the machine's byte
// order, rows top to bottom, no header), so that the program shows it at start without
// decoding a JPEG or PNG (reading either first loads every image-format plugin installed).
// Usage: pixo_obraz_ekranowy in.jpg width height out

#include <QFile>
#include <cstdio>

#include "ObrazWRozmiarze.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "użycie: %s obraz.jpg szerokość wysokość wynik\n", argv[0]);
        return 2;
    }
    const QSize rozmiar(QByteArray(argv[2]).toInt(), QByteArray(argv[3]).toInt());
    const QImage obraz = obrazWRozmiarze(QFile::decodeName(argv[1]), rozmiar);
    if (obraz.isNull() || obraz.size() != rozmiar) {
        std::fprintf(stderr, "%s: nie można zdekodować %s\n", argv[0], argv[1]);
        return 1;
    }
    QFile wynik(QFile::decodeName(argv[4]));
    if (!wynik.open(QIODevice::WriteOnly))
        return 1;
    for (int y = 0; y < obraz.height(); ++y) {
        const qint64 n = obraz.width() * 4;
        if (wynik.write(reinterpret_cast<const char*>(obraz.constScanLine(y)), n) != n)
            return 1;
    }
    return wynik.flush() ? 0 : 1;
}
