#pragma once
// One emulated register: its model byte, register number, goods base, payment and currency
// names and the 28 key definitions, kept in a state folder so that they survive restarts, and
// the answers it gives to the commands of the wire protocol.

#include <cstdint>
#include <string>
#include <vector>

#include "link/common/KlientKasy.h"

namespace pixo::emulator {

// The 28 definable key codes in the order the register lists them: key by key, direct, left
// Alt, right Alt, both Alts.
const std::vector<std::uint8_t>& kodyKlawiszy();

class Kasa {
public:
    Kasa();

    // Loads the state from `folder` (created with defaults when missing or unreadable), then
    // applies the given model (-1: keep) and number (empty: keep) and saves. An empty folder
    // keeps the state in memory only. False with a message in `blad` when the folder cannot be
    // written.
    bool wczytaj(const std::string& folder, int model, const std::string& numer, std::string& blad);

    // Answers one request message with a reply message.
    std::vector<std::uint8_t> obsluz(const std::vector<std::uint8_t>& zapytanie);

    std::uint8_t model = 139;
    std::string numer = "01";
    bool zlyNumer = false;                   // fault: answer the number command with another number
    std::vector<std::string> towary;         // 3071 names, PLU 1 first, code page 852
    std::vector<std::string> platnosci;      // 6, code page 1250 (docs/protocol.md)
    std::vector<std::string> waluty;         // 8, code page 1250
    std::vector<DefinicjaNaKasie> definicje; // 28, in kodyKlawiszy() order

private:
    bool zapisz(std::string& blad) const;
    bool zapiszDefinicje(std::string& blad) const;
    // 0 when the definition is acceptable, else the status byte or (via bladKlawisza) 228.
    std::uint8_t sprawdz(const DefinicjaNaKasie& d, std::uint8_t& bladKlawisza) const;

    std::string folder_;
};

// Default goods name of a PLU: 20 characters with Polish letters, in code page 852.
std::string domyslnaNazwaTowaru(int plu);

} // namespace pixo::emulator
