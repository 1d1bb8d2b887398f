#include "overlay/ObrazyWkladki.h"

#include <QImageReader>
#include <QMutex>
#include <array>
#include <future>

// The pictures live in an object library; a static link keeps them only when referenced.
static void zaladujZasoby() {
    Q_INIT_RESOURCE(pixo_obrazy);
}

QColor kolorWindows(quint32 wartosc) {
    return QColor(wartosc & 0xFF, (wartosc >> 8) & 0xFF, (wartosc >> 16) & 0xFF);
}

QColor kolorNapisow(int typ) {
    return kolorWindows(typ == WkladkaLekarska ? kKolorNapisowLekarska : kKolorNapisowOgolna);
}

QString nazwaObrazuEkranowego(int typ) {
    return typ == WkladkaLekarska ? QStringLiteral(":/obrazy/lekarska.jpg")
                                  : QStringLiteral(":/obrazy/ogolna.jpg");
}

QString nazwaBitmapyWydruku(int typ) {
    return typ == WkladkaLekarska ? QStringLiteral(":/obrazy/lekarska_wkladka.bmp")
                                  : QStringLiteral(":/obrazy/ogolna_wkladka.bmp");
}

namespace {

void zaladujZasobyRaz() {
    static const bool zasoby = (zaladujZasoby(), true);
    Q_UNUSED(zasoby);
}

QImage dekodujObrazEkranowy(int typ, QSize rozmiar) {
    QImageReader czytnik(nazwaObrazuEkranowego(typ == WkladkaLekarska ? 1 : 0));
    // The JPEG decoder scales while it decodes; the rest is a smooth stretch.
    czytnik.setScaledSize(rozmiar);
    QImage obraz = czytnik.read();
    if (!obraz.isNull() && obraz.size() != rozmiar)
        obraz = obraz.scaled(rozmiar, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return obraz;
}

struct Przygotowany {
    int typ = -1;
    QSize rozmiar;
    std::future<QImage> obraz;
};

Przygotowany& przygotowany() {
    static Przygotowany p;
    return p;
}

} // namespace

void przygotujObrazEkranowy(int typ, QSize rozmiar) {
    zaladujZasobyRaz();
    auto& p = przygotowany();
    if (p.obraz.valid())
        p.obraz.wait();
    p.typ = typ;
    p.rozmiar = rozmiar;
    p.obraz = std::async(std::launch::async, dekodujObrazEkranowy, typ, rozmiar);
}

QImage obrazEkranowy(int typ, QSize rozmiar) {
    zaladujZasobyRaz();
    auto& p = przygotowany();
    if (p.obraz.valid() && p.typ == typ && p.rozmiar == rozmiar)
        return p.obraz.get();
    return dekodujObrazEkranowy(typ, rozmiar);
}

const QImage& bitmapaWydruku(int typ) {
    static QMutex straz;
    static std::array<QImage, 2> obrazy;
    static std::array<bool, 2> wczytane{};
    const int t = typ == WkladkaLekarska ? 1 : 0;
    QMutexLocker blokada(&straz);
    if (!wczytane[t]) {
        zaladujZasobyRaz();
        obrazy[t] = QImage(nazwaBitmapyWydruku(t));
        wczytane[t] = true;
    }
    return obrazy[t];
}
