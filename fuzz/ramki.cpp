// libFuzzer harness for the wire protocol as both sides receive it: the frame decoder, the
// receiving and sending state machines, the payload decoders and the item counter of progress
// reports. Any bytes from the line give frames, acknowledgements and states within bounds,
// never a crash or a runaway buffer.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Sprawdz.h"
#include "link/common/Protokol.h"
#include "link/common/Ramka.h"

using namespace pixo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
    ramka::Dekoder dekoder;
    protokol::Odbiorca odbiorca;
    protokol::Nadawca nadawca;
    odbiorca.zacznij();
    nadawca.zacznij(std::vector<std::uint8_t>(3000, 0x42));
    protokol::LicznikPozycji nazwy(protokol::LicznikPozycji::Lista::Nazwy);
    protokol::LicznikPozycji definicje(protokol::LicznikPozycji::Lista::Definicje);
    // Fed in pieces, as a port delivers bytes.
    for (std::size_t od = 0; od < rozmiar;) {
        const std::size_t ile = std::min<std::size_t>(1 + dane[od] % 97, rozmiar - od);
        dekoder.dodaj(dane + od, ile);
        od += ile;
        ramka::Ramka r;
        while (dekoder.nastepna(r)) {
            sprawdz(r.dane.size() <= ramka::MAKS_DANYCH);
            std::vector<std::uint8_t> odp;
            odbiorca.ramka(r, odp);
            nadawca.potwierdzenie(r);
            (void)nadawca.doWyslania();
            sprawdz(odbiorca.wiadomosc().size() <= protokol::MAKS_WIADOMOSCI + ramka::MAKS_DANYCH);
            nazwy.dalej(odbiorca.wiadomosc());
            definicje.dalej(odbiorca.wiadomosc());
            sprawdz(nazwy.zrobione() <= nazwy.calosc() &&
                    definicje.zrobione() <= definicje.calosc());
        }
    }
    std::vector<DefinicjaNaKasie> d;
    if (protokol::dekodujDefinicje(dane, dane + rozmiar, d))
        sprawdz(d.size() <= 255);
    std::vector<std::string> n;
    if (protokol::dekodujNazwy(dane, dane + rozmiar, n))
        sprawdz(n.size() <= 0xFFFF);
    return 0;
}
