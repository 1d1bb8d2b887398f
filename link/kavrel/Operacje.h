#pragma once
// The six register operations of the key-definition library, each taking the caller's 256-byte
// name buffers and the way to reach the register (the exported functions pass
// pixo::polaczZKasa; tests pass a fake register).
//
// Every operation: checks the names (2 no input name, 1 input named KONFIG.TXT or RAPORT.TXT;
// for the reading ones also 3 no output name, 4 output named KONFIG.TXT or RAPORT.TXT, 5 input
// and output are one file), reads its input (6, 10, 11, 12, 19), finds the register's line in
// KONFIG.TXT of the current folder (7, 13 to 16), creates its output's temporary (8), connects
// (62 and the link codes), checks that the register there has the requested number (22),
// talks to it (link and register codes passed on; 23 for a reply that cannot be written as the
// program reads it) and publishes the output (17). On any failure an older output file is left
// untouched and no temporary remains. The report-file codes 9 and 18 are never produced: this
// library writes no report file.

#include "link/common/KlientKasy.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace pixo::kavrel {

using Polaczenie = std::function<std::uint8_t(const ParametryLacza&, std::unique_ptr<KlientKasy>&)>;

// The progress function of _UstawPostep (kavrel.h): one for the whole process; the reading
// operations report to it as their replies arrive. Null stops the reports. Once this returns,
// the previous function is not running and will not be called again.
using FunkcjaPostepu = void (*)(void* kontekst, unsigned zrobione, unsigned calosc);
void ustawPostep(FunkcjaPostepu funkcja, void* kontekst);

// Why the last register operation could not use KONFIG.TXT, when it ended with 7 or 13 to 16
// (czytajKonfiguracje's reason, with the line's number); empty after any other ending.
std::string powodBleduKonfiguracji();

std::uint8_t odczytajDefinicje(const char* wejscie, const char* wyjscie, const Polaczenie& polacz);
std::uint8_t zapiszDefinicje(const char* plik, const Polaczenie& polacz);
std::uint8_t skasujDefinicje(const char* plik, const Polaczenie& polacz);
std::uint8_t odczytajTowary(const char* wejscie, const char* wyjscie, const Polaczenie& polacz);
std::uint8_t odczytajPlatnosci(const char* wejscie, const char* wyjscie, const Polaczenie& polacz);
std::uint8_t odczytajWaluty(const char* wejscie, const char* wyjscie, const Polaczenie& polacz);

} // namespace pixo::kavrel
