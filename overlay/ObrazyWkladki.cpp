#include "overlay/ObrazyWkladki.h"

#include <QMutex>
#include <array>

#include "resources/ekran/ObrazWRozmiarze.h"

// The pictures live in an object library; a static link keeps them only when referenced.
static void zaladujZasoby() {
    Q_INIT_RESOURCE(pixo_obrazy);
    Q_INIT_RESOURCE(pixo_obrazy_ekranowe);
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

} // namespace

QImage obrazEkranowy(int typ, QSize rozmiar) {
    zaladujZasobyRaz();
    const QImage gotowy =
        zdekodowanyZasob(typ == WkladkaLekarska ? QStringLiteral(":/obrazy/lekarska_ekran.rgb32")
                                                : QStringLiteral(":/obrazy/ogolna_ekran.rgb32"),
                         rozmiar, QImage::Format_RGB32);
    if (!gotowy.isNull())
        return gotowy;
    return obrazWRozmiarze(nazwaObrazuEkranowego(typ == WkladkaLekarska ? 1 : 0), rozmiar);
}

QImage ikonaOkna() {
    zaladujZasobyRaz();
    const QImage gotowa = zdekodowanyZasob(QStringLiteral(":/obrazy/ikona.argb32"), QSize(128, 128),
                                           QImage::Format_ARGB32_Premultiplied);
    return gotowa.isNull() ? QImage(QStringLiteral(":/obrazy/ikona.png")) : gotowa;
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
