#pragma once
// The register as the protocol library sees it: one connection over the serial line (with the
// multiplexer channel selected when there is one) and the operations the library needs. Every
// call returns a result code: 0 on success, else one of the codes the program explains to the
// user (20 transmit timeout, 21 receive timeout, 23 bad reply, 24 NAK, 25 command not
// available, 62 port cannot be opened, or a code translated from the register's own status).
//
// Implemented over the wire protocol in this folder; the key-definition library and the
// serial library both use it, and the emulator answers it.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace pixo {

struct ParametryLacza {
    std::string katalog = "."; // folder in which a "comN" link is looked up
    int port = 1;              // 1 to 99
    int baud = 9600;           // 9600, 19200, 28800, 57600
    int multiplekser = 0;      // 0 none, 1 "MUX 1"
    int kanal = 1;             // 1 to 4, used when multiplekser > 0
    int timeoutSek = 5;        // per reply, 1 to 1000
};

// One key definition as the register holds it: the key code and the line type with its
// four parameters, exactly the fields of a definition line of the key-definition file.
struct DefinicjaNaKasie {
    std::uint8_t kod = 0;
    std::uint8_t typ = 0;      // 0 to 5
    std::int64_t pola[4] = {}; // fields 3 to 6; unused ones 0
};

inline DefinicjaNaKasie definicjaNaKasie(std::uint8_t kod, std::uint8_t typ, std::int64_t a = 0,
                                         std::int64_t b = 0, std::int64_t c = 0,
                                         std::int64_t d = 0) {
    return DefinicjaNaKasie{kod, typ, {a, b, c, d}};
}

struct TowarNaKasie {
    std::uint16_t plu = 0; // 1 to 3071
    std::string nazwa;     // code page 852 bytes
};

class KlientKasy {
public:
    virtual ~KlientKasy() = default;

    // Identification byte (139 for the PIXO E).
    virtual std::uint8_t identyfikacja(std::uint8_t& bajt) = 0;
    // Register number as two characters, e.g. "01".
    virtual std::uint8_t numerKasy(std::string& numer) = 0;
    virtual std::uint8_t czytajDefinicje(std::vector<DefinicjaNaKasie>& definicje) = 0;
    virtual std::uint8_t zapiszDefinicje(const std::vector<DefinicjaNaKasie>& definicje) = 0;
    virtual std::uint8_t skasujDefinicje(const std::vector<std::uint8_t>& kody) = 0;
    virtual std::uint8_t czytajTowary(std::vector<TowarNaKasie>& towary) = 0;
    virtual std::uint8_t czytajPlatnosci(std::vector<std::string>& nazwy) = 0; // 6, cp1250
    virtual std::uint8_t czytajWaluty(std::vector<std::string>& nazwy) = 0;    // 8, cp1250

    // Told, on the calling thread, how many items of a list being read (definitions, names)
    // have arrived and how many there are (0 while not yet known). Empty: nothing is told.
    std::function<void(unsigned zrobione, unsigned calosc)> postep;
};

// Opens the port (exclusive), selects the multiplexer channel when there is one, and returns
// 0 with a ready client, or a result code (62 when the port cannot be opened, with the reason in
// Polish in `powod` when given: no such port, busy, no permission (the dialout group); 21, 23 or
// 24 when the multiplexer does not select the channel).
std::uint8_t polaczZKasa(const ParametryLacza& p, std::unique_ptr<KlientKasy>& klient,
                         std::string* powod = nullptr);

} // namespace pixo
