#pragma once
// The emulator's command-line values that take more than a flag: numbers in a range, a
// register number, and the multiplexer's channel list of --mux. Plain C++, no I/O, so that
// the fuzzing harness reaches them as the command line does.

#include <string>
#include <vector>

namespace pixo::emulator {

struct KanalMux {
    int kanal = 1;
    std::string numer; // empty: from the state folder, else "0<kanal>"
    int model = -1;
};

// A decimal number from `od` to `doo`, the whole text; false otherwise.
bool liczbaArgumentu(const std::string& s, long od, long doo, long& v);
// Text as a register holds it (names, its number): no control byte. A CR at the end of a name
// would not survive the next save of the state, and the protocol library refuses such a name.
bool tekstKasy(const std::string& s);
// A register number as --number, --mux and the state folder take it: two characters, neither
// a control byte.
bool numerKasyArgumentu(const std::string& s);

// "1=01,2=02:100,3": channels 1 to 4, each at most once, with an optional register number and
// an optional model byte 0-255. Appends the channels to `kanaly`; false with the Polish reason
// in `blad` at the first bad entry.
bool kanalyMux(const std::string& spec, std::vector<KanalMux>& kanaly, std::string& blad);

} // namespace pixo::emulator
