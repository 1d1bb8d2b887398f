// libFuzzer harness for the emulator's state folder: the first byte picks the file (kasa.txt,
// towary.txt, platnosci.txt, waluty.txt, klawisze.txt), the rest is its content. The register
// loads any bytes without a crash and holds what a register holds: 3071 goods, 6 payments and
// 8 currencies with names of text (no control byte, at most 255 bytes), 28 definitions in key
// order that the protocol library accepts, a number of two such characters. It saves that,
// and the saved folder loads again to the same state.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Sprawdz.h"
#include "emulator/Kasa.h"
#include "link/kavrel/PlikiKasy.h"

namespace {

using pixo::emulator::Kasa;

bool takieSame(const Kasa& a, const Kasa& b) {
    if (a.model != b.model || a.numer != b.numer || a.towary != b.towary ||
        a.platnosci != b.platnosci || a.waluty != b.waluty ||
        a.definicje.size() != b.definicje.size())
        return false;
    for (std::size_t i = 0; i < a.definicje.size(); ++i)
        for (int p = 0; p < 4; ++p)
            if (a.definicje[i].kod != b.definicje[i].kod ||
                a.definicje[i].typ != b.definicje[i].typ ||
                a.definicje[i].pola[p] != b.definicje[i].pola[p])
                return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
    static const char* const kPliki[] = {"kasa.txt", "towary.txt", "platnosci.txt", "waluty.txt",
                                         "klawisze.txt"};
    if (rozmiar == 0)
        return 0;
    const std::string folder = std::string(folderRoboczy()) + "/stan";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directory(folder);
    {
        std::ofstream f(folder + "/" + kPliki[dane[0] % 5], std::ios::binary);
        f.write(reinterpret_cast<const char*>(dane + 1), static_cast<std::streamsize>(rozmiar - 1));
    }
    Kasa kasa;
    std::string blad;
    sprawdz(kasa.wczytaj(folder, -1, "", blad));
    sprawdz(kasa.numer.size() == 2 && kasa.towary.size() == 3071 && kasa.platnosci.size() == 6 &&
            kasa.waluty.size() == 8);
    for (const auto* lista : {&kasa.towary, &kasa.platnosci, &kasa.waluty})
        for (const std::string& nazwa : *lista) {
            sprawdz(nazwa.size() <= 255);
            for (unsigned char z : nazwa)
                sprawdz(z >= 0x20 && z != 0x7f);
        }
    for (unsigned char z : kasa.numer)
        sprawdz(z >= 0x20 && z != 0x7f);
    const auto& kody = pixo::emulator::kodyKlawiszy();
    sprawdz(kasa.definicje.size() == kody.size());
    for (std::size_t i = 0; i < kody.size(); ++i)
        sprawdz(kasa.definicje[i].kod == kody[i] &&
                pixo::kavrel::sprawdzDefinicje(kasa.definicje[i]) == 0);
    Kasa znow;
    sprawdz(znow.wczytaj(folder, -1, "", blad) && takieSame(kasa, znow));
    return 0;
}
