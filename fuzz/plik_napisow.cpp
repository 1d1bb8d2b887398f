// libFuzzer harness for the label file reader: any bytes give fourteen lines within the
// longest text an edit takes, and what was read is written and read back unchanged.

#include <cstddef>
#include <cstdint>

#include "Sprawdz.h"
#include "overlay/PlikNapisow.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
    const LinieNapisow linie =
        czytajPlikNapisow(QByteArray(reinterpret_cast<const char*>(dane), qsizetype(rozmiar)));
    for (const QString& l : linie)
        sprawdz(l.size() <= kNajdluzszaLinia && !l.contains(QLatin1Char('\r')) &&
                !l.contains(QLatin1Char('\n')));
    sprawdz(czytajPlikNapisow(zakodujPlikNapisow(linie)) == linie);
    return 0;
}
