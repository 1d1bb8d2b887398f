// libFuzzer harness for what the register libraries and the program read from KONFIG.TXT and
// from the program's input files, line by line: the register number rule, a configuration
// line, a key-definition line. Any bytes give a result code, never a crash; what is accepted
// lies in the documented ranges.

#include <cstddef>
#include <cstdint>
#include <string>

#include "Sprawdz.h"
#include "link/kavrel/Konfiguracja.h"
#include "link/kavrel/PlikiKasy.h"
#include "transfer/NrKasy.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
    const std::string linia(reinterpret_cast<const char*>(dane), rozmiar);
    if (const auto nr = NrKasyZLinii(QByteArrayView(linia.data(), qsizetype(linia.size()))))
        sprawdz(nr->size() >= 1 && nr->size() <= 2);
    pixo::ParametryLacza p;
    if (pixo::kavrel::czytajLinieKonfiguracji(linia, p) == 0)
        sprawdz(p.port >= 1 && p.port <= 99 && p.timeoutSek >= 1 && p.timeoutSek <= 1000 &&
                p.kanal >= 1 && p.kanal <= 4);
    pixo::DefinicjaNaKasie d;
    if (pixo::kavrel::czytajLinieDefinicji(linia, d) == 0) {
        sprawdz(pixo::kavrel::sprawdzDefinicje(d) == 0);
        // The library writes back a line it reads as the same definition.
        pixo::DefinicjaNaKasie znow;
        sprawdz(pixo::kavrel::czytajLinieDefinicji(pixo::kavrel::liniaDefinicji(d), znow) == 0);
        sprawdz(znow.kod == d.kod && znow.typ == d.typ);
    }
    return 0;
}
