// libFuzzer harness for the register library's whole-file readers: the input is written as
// KONFIG.TXT and as an input file in a private folder, then read as the configuration, a read
// request, a delete list and a key-definition file. Any bytes give a result code, never a
// crash; what is accepted lies in the documented ranges.

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "Sprawdz.h"
#include "link/kavrel/Konfiguracja.h"
#include "link/kavrel/PlikiKasy.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
    const std::string folder = folderRoboczy();
    const std::string plik = folder + "/wejscie.txt";
    for (const std::string& nazwa : {plik, folder + "/KONFIG.TXT"}) {
        std::ofstream f(nazwa, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(dane), static_cast<std::streamsize>(rozmiar));
    }
    pixo::ParametryLacza p;
    for (int nr : {1, 12, 99})
        if (pixo::kavrel::czytajKonfiguracje(folder, nr, p) == 0)
            sprawdz(p.port >= 1 && p.port <= 99 && p.timeoutSek >= 1 && p.timeoutSek <= 1000);
    int nrKasy = 0;
    if (pixo::kavrel::czytajZadanie(plik, nrKasy) == 0)
        sprawdz(nrKasy >= 1 && nrKasy <= 99);
    std::vector<std::uint8_t> kody;
    if (pixo::kavrel::czytajListeKasowania(plik, nrKasy, kody) == 0) {
        sprawdz(kody.size() <= 28);
        for (std::uint8_t k : kody)
            sprawdz(pixo::kavrel::kodKlawisza(k));
    }
    std::vector<pixo::DefinicjaNaKasie> definicje;
    if (pixo::kavrel::czytajPlikDefinicji(plik, nrKasy, definicje) == 0) {
        sprawdz(definicje.size() <= 28);
        for (const auto& d : definicje)
            sprawdz(pixo::kavrel::sprawdzDefinicje(d) == 0);
    }
    return 0;
}
