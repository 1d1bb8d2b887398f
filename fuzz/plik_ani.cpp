// libFuzzer harness for the animated cursor reader: any bytes must give "not loaded" or an
// animation that keeps its promises (frames present, steps naming existing frames, hotspots
// on the picture), with no out-of-bounds access, overflow or runaway allocation on the way.

#include <cstddef>
#include <cstdint>

#include "Sprawdz.h"
#include "core/okno/PlikAni.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
    // No copy: the reader must stay inside exactly these bytes.
    const QByteArray bajty =
        QByteArray::fromRawData(reinterpret_cast<const char*>(dane), qsizetype(rozmiar));
    if (const auto a = PlikAni::czytaj(bajty)) {
        sprawdz(!a->klatki.isEmpty() && a->klatki.size() <= PlikAni::kMaksKlatek);
        sprawdz(!a->kroki.isEmpty() && a->kroki.size() <= PlikAni::kMaksKrokow);
        for (const KlatkaAni& k : a->klatki) {
            sprawdz(k.obraz.format() == QImage::Format_ARGB32);
            sprawdz(k.obraz.width() <= PlikAni::kMaksBok && k.obraz.height() <= PlikAni::kMaksBok);
            sprawdz(k.obraz.rect().contains(k.punktAktywny));
        }
        for (const KrokAni& s : a->kroki) {
            sprawdz(s.klatka >= 0 && s.klatka < a->klatki.size());
            sprawdz(s.jiffies >= 1 && s.jiffies <= PlikAni::kMaksJiffies);
        }
    }
    // The same bytes as a single cursor file.
    if (const auto k = PlikAni::czytajKursor(bajty))
        sprawdz(k->obraz.rect().contains(k->punktAktywny));
    return 0;
}
