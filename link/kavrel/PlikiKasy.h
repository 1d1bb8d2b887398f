#pragma once
// The files the program hands to this library and the files it writes back.
//
// Every input starts with the three header lines "#<register number>", "#", "#" (lines 2 and 3
// only have to start with "#"). The register number is 1 to 99 in decimal, leading zeros and
// blanks allowed ("#05" is register 5). Lines end with CR LF or LF and hold at most 255
// characters of printable text and TABs; empty lines at the end of a file are ignored.
//
// Codes: 6 the file cannot be read; 10 a header line is missing (an empty file included);
// 11 a line is not of its form (a field that is no number, a control byte, a line over 255
// characters, an empty line inside the file, a file over 64 KiB); 12 a value a register does
// not accept; 19 the register number is missing, no number, or outside 1 to 99.

#include "link/common/KlientKasy.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pixo::kavrel {

// The 28 definable keys in the order in which key-definition files list them: for key 0 to 8
// the direct key (0-4), the left-Alt key, the right-Alt key, the both-Alts key (0-4).
extern const std::array<std::uint8_t, 28> KodyKlawiszy;
bool kodKlawisza(std::int64_t kod);

// A read request: the header lines and nothing else.
std::uint8_t czytajZadanie(const std::string& sciezka, int& nrKasy);

// A delete list: the header, then lines "$<key code>", each one of the 28 keys. A key named
// twice is deleted once.
std::uint8_t czytajListeKasowania(const std::string& sciezka, int& nrKasy,
                                  std::vector<std::uint8_t>& kody);

// A key-definition file: the header, then one definition line per key, each key at most once.
std::uint8_t czytajPlikDefinicji(const std::string& sciezka, int& nrKasy,
                                 std::vector<DefinicjaNaKasie>& definicje);

// One definition line: "$<key code>" TAB <type 0-5> and the fields of the type:
//   0  nothing
//   1  PLU 1-3071, sale of one piece 0/1, price entry 0/1, end of receipt 0/1
//   2  function 1-40 (the line may end with a TAB)
//   3  number, amount >= 0 in hundredths, 0 payment (number 1-7) or 1 currency (number 1-8)
//   4  0 discount / 1 markup, percent 1-99, item line 0/1, whole receipt 0/1
//   5  0 discount / 1 markup, amount >= 0 in hundredths, item line 0/1, whole receipt 0/1
// Fields after the last one a type uses must be empty. 11 for the form, 12 for the values.
std::uint8_t czytajLinieDefinicji(std::string_view linia, DefinicjaNaKasie& definicja);

// 0 when a register may hold the definition, else 12 (same ranges as above).
std::uint8_t sprawdzDefinicje(const DefinicjaNaKasie& definicja);

// The line the key-definition file writer produces for a definition.
std::string liniaDefinicji(const DefinicjaNaKasie& definicja);

// Output files. Each returns 0 with the whole text, or 23 when the register's reply cannot be
// written as the program reads it (a key twice or unknown, a value out of range, a PLU outside
// 1-3071 or twice, a name with a control byte or too long for a 255-character line, a wrong
// count of payments or currencies).
std::uint8_t tekstDefinicji(int nrKasy, const std::vector<DefinicjaNaKasie>& definicje,
                            std::string& tekst);
std::uint8_t tekstTowarow(int nrKasy, const std::vector<TowarNaKasie>& towary, std::string& tekst);
std::uint8_t tekstPlatnosci(int nrKasy, const std::vector<std::string>& nazwy, std::string& tekst);
std::uint8_t tekstWalut(int nrKasy, const std::vector<std::string>& nazwy, std::string& tekst);

} // namespace pixo::kavrel
