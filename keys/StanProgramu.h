#pragma once
// The program-wide state, one instance owned by the main window and passed by reference to
// the parts that use it.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

#include "keys/TabelaKlawiszy.h"

struct StanProgramu {
    static constexpr int kLiczbaTowarow = 3071;

    TabelaKlawiszy tabela;
    // Goods names by PLU number 0 to 3071 (entry 0 never filled), as the register sent them,
    // in code page 852.
    std::vector<QByteArray> towary = std::vector<QByteArray>(kLiczbaTowarow + 1);
    QString NrKasy;                  // register number text, at most two characters
    int WartoscNrKasy = 0;           // register number as identified, 0 while none was
    std::uint8_t NrBledu = 0;        // current result code of the register libraries
    std::uint8_t OstatniKlawisz = 0; // key number the editor panel last showed
    bool ImportStartowy = false;     // the start-up import is still to run
    QString PlikWydruku;             // export target while printing, else empty
};
