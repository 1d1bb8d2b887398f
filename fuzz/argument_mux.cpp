// libFuzzer harness for the emulator's --mux argument: any text gives channels or a reason,
// never a crash; accepted channels lie in 1-4, each once, with a two-character register number
// or none and a model byte 0-255 or none.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Sprawdz.h"
#include "emulator/ArgumentyEmulatora.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
    // A command-line argument ends at its first zero byte.
    std::string spec(reinterpret_cast<const char*>(dane), rozmiar);
    spec.resize(std::min(spec.find('\0'), spec.size()));
    std::vector<pixo::emulator::KanalMux> kanaly;
    std::string blad;
    if (!pixo::emulator::kanalyMux(spec, kanaly, blad)) {
        sprawdz(!blad.empty());
        return 0;
    }
    sprawdz(!kanaly.empty() && kanaly.size() <= 4);
    unsigned widziane = 0;
    for (const auto& k : kanaly) {
        sprawdz(k.kanal >= 1 && k.kanal <= 4 && !(widziane & (1u << k.kanal)));
        widziane |= 1u << k.kanal;
        sprawdz(k.numer.empty() || k.numer.size() == 2);
        sprawdz(k.model >= -1 && k.model <= 255);
    }
    return 0;
}
