#include "overlay/okno/DrukWkladki.h"

#include <QPainter>
#include <QPrinter>
#include <cmath>

#include "core/BladProgramu.h"

QSize rozmiarNaDrukarce(QSize bitmapa, double dpiX, double dpiY) {
    return {static_cast<int>(std::trunc(bitmapa.width() * dpiX / kDpiBitmapy)),
            static_cast<int>(std::trunc(bitmapa.height() * dpiY / kDpiBitmapy))};
}

namespace {

// Ends the job however the drawing leaves.
struct ZadanieWydruku {
    QPainter p;
    ~ZadanieWydruku() {
        if (p.isActive())
            p.end();
    }
};

} // namespace

void drukujObraz(QPrinter& drukarka, const QImage& obraz, const QString& tytul) {
    drukarka.setDocName(tytul);
    ZadanieWydruku zadanie;
    if (!zadanie.p.begin(&drukarka))
        throw BladProgramu(QStringLiteral("Nie można rozpocząć wydruku."));
    const QSize rozmiar =
        rozmiarNaDrukarce(obraz.size(), drukarka.logicalDpiX(), drukarka.logicalDpiY());
    // Label text must not come out blurred where the page goes through a PDF (the print
    // system here takes PDF); the painter's origin is the printable area's top-left corner.
    zadanie.p.setRenderHint(QPainter::LosslessImageRendering);
    zadanie.p.drawImage(QRect(QPoint(0, 0), rozmiar), obraz);
    // The page goes out when the job ends; a job that cannot be finished was not printed.
    if (!zadanie.p.end() || drukarka.printerState() == QPrinter::Error)
        throw BladProgramu(QStringLiteral("Nie można dokończyć wydruku."));
}
