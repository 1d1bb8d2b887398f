#include "overlay/ObrazyWkladki.h"

#include <QMutex>
#include <array>

#ifdef PIXO_OBRAZY_WBUDOWANE
// The pictures live in an object library; a static link keeps them only when referenced.
static void zaladujZasoby() {
    Q_INIT_RESOURCE(pixo_obrazy);
}
#else
static void zaladujZasoby() {}
#endif

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

const QImage& obraz(int indeks, const QString& nazwa) {
    static QMutex straz;
    static std::array<QImage, 4> obrazy;
    static std::array<bool, 4> wczytane{};
    QMutexLocker blokada(&straz);
    if (!wczytane[indeks]) {
        static const bool zasoby = (zaladujZasoby(), true);
        Q_UNUSED(zasoby);
        obrazy[indeks] = QImage(nazwa);
        wczytane[indeks] = true;
    }
    return obrazy[indeks];
}

} // namespace

const QImage& obrazEkranowy(int typ) {
    const int t = typ == WkladkaLekarska ? 1 : 0;
    return obraz(t, nazwaObrazuEkranowego(t));
}

const QImage& bitmapaWydruku(int typ) {
    const int t = typ == WkladkaLekarska ? 1 : 0;
    return obraz(2 + t, nazwaBitmapyWydruku(t));
}
