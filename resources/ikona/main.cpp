// Build step: decodes the window's icon and writes its pixels raw (32-bit premultiplied ARGB
// in the machine's byte order, rows top to bottom, no header), so that the program sets its
// icon at start without reading a PNG: reading any image file first loads every image-format
// plugin installed, a few milliseconds of the start-up. Usage: pixo_ikona in.png size out

#include <QFile>
#include <QImage>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "użycie: %s ikona.png rozmiar wynik\n", argv[0]);
        return 2;
    }
    const int rozmiar = QByteArray(argv[2]).toInt();
    const QImage ikona =
        QImage(QFile::decodeName(argv[1])).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (ikona.isNull() || ikona.size() != QSize(rozmiar, rozmiar)) {
        std::fprintf(stderr, "%s: %s nie jest ikoną %d x %d\n", argv[0], argv[1], rozmiar, rozmiar);
        return 1;
    }
    QFile wynik(QFile::decodeName(argv[3]));
    if (!wynik.open(QIODevice::WriteOnly))
        return 1;
    for (int y = 0; y < ikona.height(); ++y) {
        const qint64 n = ikona.width() * 4;
        if (wynik.write(reinterpret_cast<const char*>(ikona.constScanLine(y)), n) != n)
            return 1;
    }
    return wynik.flush() ? 0 : 1;
}
