// libFuzzer harness for the register list of a KONFIG.TXT with several lines, as pixo-kasa
// --wszystkie reads it (NumeryKasZKonfiguracji): any bytes give the list or a BladProgramu,
// never a crash; every number lies in 1-99, comes once, and is the number of a line of the
// file by the reading rule.

#include <QByteArray>
#include <QFile>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "Sprawdz.h"
#include "core/BladProgramu.h"
#include "transfer/NrKasy.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
    const std::string plik = std::string(folderRoboczy()) + "/KONFIG.TXT";
    {
        std::ofstream f(plik, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(dane), static_cast<std::streamsize>(rozmiar));
    }
    std::vector<std::uint8_t> numery;
    try {
        numery = NumeryKasZKonfiguracji(QFile::decodeName(plik.c_str()));
    } catch (const BladProgramu&) {
        return 0;
    }
    std::vector<std::uint8_t> zLinii;
    for (const QByteArray& l :
         QByteArray(reinterpret_cast<const char*>(dane), qsizetype(rozmiar)).split('\n'))
        if (const auto nr = NrKasyZLinii(l.trimmed()))
            if (const auto n = NumerKasy(*nr))
                zLinii.push_back(*n);
    for (std::uint8_t n : numery)
        sprawdz(n >= 1 && n <= 99 && std::count(numery.begin(), numery.end(), n) == 1 &&
                std::count(zLinii.begin(), zLinii.end(), n) >= 1);
    return 0;
}
