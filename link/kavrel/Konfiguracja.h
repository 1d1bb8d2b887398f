#pragma once
// KONFIG.TXT as this library reads it. One line per register:
//
//   $<number> TAB com<port>:<baud>:mux<m>:<channel> TAB <timeout>
//
// The line whose number equals the request's register number, compared as numbers ("$01"
// serves register 1), gives the connection; when two lines name one register the first one
// counts. Blanks around fields, "COM"/"MUX" in any case and empty lines are tolerated; lines for
// other registers are not checked beyond their number.

#include "link/common/KlientKasy.h"

#include <cstdint>
#include <string>

namespace pixo::kavrel {

// Looks for KONFIG.TXT (any letter case) in `folder`. Returns 0 and fills `parametry` (its
// katalog stays as given), or
//   7  no such file, or it cannot be read;
//   13 the file holds no line, or the register's line lacks a field;
//   14 no line for this register number;
//   15 a value out of range: port 1-99, baud 9600/19200/28800/57600, multiplexer 0 or 1,
//      channel 1-4, timeout 1-1000;
//   16 a line that is not of the form above (a number field that is no number, a control
//      byte, a line over 255 characters, a file over 64 KiB).
// With `powod`, a failure also says in Polish what is wrong and, where one line is at fault,
// its number: "linia 2: pola rozdzielone spacjami, a muszą być rozdzielone znakiem TAB".
std::uint8_t czytajKonfiguracje(const std::string& folder, int nrKasy, ParametryLacza& parametry,
                                std::string* powod = nullptr);

// The register's line alone, for tests and for the reader above; same codes minus 7 and 14,
// and a reason without the line's number.
std::uint8_t czytajLinieKonfiguracji(const std::string& linia, ParametryLacza& parametry,
                                     std::string* powod = nullptr);

} // namespace pixo::kavrel
