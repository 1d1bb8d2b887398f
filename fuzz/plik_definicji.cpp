// libFuzzer harness for the key-definition file reader: any bytes give either a table or the
// rejected line (at most 255 characters), never a crash; a table that was read is written and
// read back unchanged.

#include <QBuffer>
#include <cstddef>
#include <cstdint>

#include "Sprawdz.h"
#include "transfer/PlikDefinicji.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
    QByteArray bajty(reinterpret_cast<const char*>(dane), qsizetype(rozmiar));
    QBuffer bufor(&bajty);
    bufor.open(QIODevice::ReadOnly);
    const OdczytDefinicji odczyt = CzytajDefinicje(bufor, TabelaKlawiszy{});
    if (odczyt.zlaLinia) {
        sprawdz(odczyt.zlaLinia->size() <= kMaksDlugoscLinii);
        return 0;
    }
    QByteArray tekst = TekstPlikuDefinicji(odczyt.tabela, QStringLiteral("1"));
    QBuffer drugi(&tekst);
    drugi.open(QIODevice::ReadOnly);
    const OdczytDefinicji ponownie = CzytajDefinicje(drugi, TabelaKlawiszy{});
    sprawdz(!ponownie.zlaLinia);
    // Kinds and parameters come back; Kod is what each line was read with.
    for (int w = 0; w < 4; ++w)
        for (int k = 0; k < liczbaKlawiszy(w); ++k) {
            TDefKlawisza a = odczyt.tabela.odczytaj(w, k), b = ponownie.tabela.odczytaj(w, k);
            if (a.Rodzaj == RodzajNiezdefiniowany) {
                sprawdz(b.Rodzaj == RodzajNiezdefiniowany);
                continue;
            }
            // Every number the reader takes fits its field, the scope's two flags included.
            a.Kod = b.Kod = 0;
            sprawdz(a == b);
        }
    return 0;
}
