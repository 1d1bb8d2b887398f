// libFuzzer harness for the emulator's register answering one decoded command (the message as
// the line delivers it, command byte first): any bytes give a reply that echoes the command,
// never a crash. Afterwards the register holds 28 definitions in key order, each one the
// protocol library accepts, with at most eight payment keys; a refused write or delete changed
// nothing; and reading the definitions gives back exactly what it holds.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Sprawdz.h"
#include "emulator/Kasa.h"
#include "link/common/Protokol.h"
#include "link/kavrel/PlikiKasy.h"

namespace {

namespace pr = pixo::protokol;
using pixo::DefinicjaNaKasie;

bool rowne(const std::vector<DefinicjaNaKasie>& a, const std::vector<DefinicjaNaKasie>& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        for (int p = 0; p < 4; ++p)
            if (a[i].kod != b[i].kod || a[i].typ != b[i].typ || a[i].pola[p] != b[i].pola[p])
                return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
    // State in memory only, its goods built once; a command changes the definitions alone.
    static pixo::emulator::Kasa kasa;
    static const std::vector<DefinicjaNaKasie> poczatkowe = kasa.definicje;
    kasa.definicje = poczatkowe;
    const std::vector<std::uint8_t> zapytanie(dane, dane + rozmiar);
    const std::vector<std::uint8_t> odpowiedz = kasa.obsluz(zapytanie);
    const std::uint8_t rozkaz = zapytanie.empty() ? 0 : zapytanie[0];
    sprawdz(odpowiedz.size() >= 3 && odpowiedz[0] == rozkaz);

    const auto& kody = pixo::emulator::kodyKlawiszy();
    sprawdz(kasa.definicje.size() == kody.size());
    int platnosci = 0;
    for (std::size_t i = 0; i < kody.size(); ++i) {
        const DefinicjaNaKasie& d = kasa.definicje[i];
        sprawdz(d.kod == kody[i] && pixo::kavrel::sprawdzDefinicje(d) == 0);
        platnosci += d.typ == 3 && d.pola[2] != 1;
    }
    sprawdz(platnosci <= 8);
    const bool odmowa = odpowiedz[1] != 0 || odpowiedz[2] != 0;
    if (odmowa || (rozkaz != pr::ROZKAZ_ZAPISZ_DEFINICJE && rozkaz != pr::ROZKAZ_KASUJ_DEFINICJE))
        sprawdz(rowne(kasa.definicje, poczatkowe));

    const std::vector<std::uint8_t> odczyt = kasa.obsluz({pr::ROZKAZ_CZYTAJ_DEFINICJE});
    std::vector<DefinicjaNaKasie> odczytane;
    sprawdz(odczyt.size() >= 3 && odczyt[1] == 0 &&
            pr::dekodujDefinicje(odczyt.data() + 3, odczyt.data() + odczyt.size(), odczytane) &&
            rowne(odczytane, kasa.definicje));
    return 0;
}
