#pragma once
// Small pieces every operation of the key-definition library shares: result codes, reading the
// caller's 256-byte name buffers, reading small text files line by line with hard limits,
// decimal numbers, and file names matched without regard to letter case.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "link/common/NazwaBezWielkosci.h"

namespace pixo::kavrel {

// Result codes this library produces itself; the link codes (20, 21, 23, 24, 25, 62) and the
// register's own codes come from the client and are passed on unchanged.
namespace kod {
inline constexpr std::uint8_t Ok = 0;
inline constexpr std::uint8_t ZastrzezonaNazwaWejscia = 1;
inline constexpr std::uint8_t BrakNazwyWejscia = 2;
inline constexpr std::uint8_t BrakNazwyWyjscia = 3;
inline constexpr std::uint8_t ZastrzezonaNazwaWyjscia = 4;
inline constexpr std::uint8_t JednakoweNazwy = 5;
inline constexpr std::uint8_t NieOtwartoWejscia = 6;
inline constexpr std::uint8_t NieOtwartoKonfiguracji = 7;
inline constexpr std::uint8_t NieOtwartoWyjscia = 8;
inline constexpr std::uint8_t NiekompletneWejscie = 10;
inline constexpr std::uint8_t FormatWejscia = 11;
inline constexpr std::uint8_t DaneWejscia = 12;
inline constexpr std::uint8_t NiekompletnaKonfiguracja = 13;
inline constexpr std::uint8_t BrakSkojarzenia = 14;
inline constexpr std::uint8_t DaneKonfiguracji = 15;
inline constexpr std::uint8_t FormatKonfiguracji = 16;
inline constexpr std::uint8_t ZapisWyjscia = 17;
inline constexpr std::uint8_t NumerKasyPozaZakresem = 19;
inline constexpr std::uint8_t InnyNumerKasy = 22;
inline constexpr std::uint8_t NiepoprawnaOdpowiedz = 23;
inline constexpr std::uint8_t PortNiedostepny = 62;
// Last resort for a failure no other code describes (an exception that must not cross the C
// boundary); it has no message text, like the register's own unknown statuses.
inline constexpr std::uint8_t Nieoczekiwany = 255;
} // namespace kod

// A caller's name or line buffer holds at most 255 characters and a zero byte.
inline constexpr std::size_t RozmiarBufora = 256;
inline constexpr std::size_t MaksDlugoscLinii = 255;

// Copies the text of a caller's buffer without ever looking past its 256 bytes. False for a
// null pointer or a buffer with no zero byte in it; the text may be empty.
bool tekstZBufora(const char* bufor, std::string& tekst);

// How a small text file read line by line ended.
enum class WynikCzytania {
    Ok,
    NieOtwarto,  // missing, a folder, unreadable
    ZaDuzy,      // above the size limit
    ZlyZnak,     // a control byte other than TAB, or a CR not ending a line
    ZaDlugaLinia // more than 255 characters
};

// Reads a whole file of at most maksBajtow bytes and splits it into lines. A line ends with
// CR LF or a bare LF; the last line may lack its ending. Every other control byte, a NUL
// included, makes the file unreadable as text; after ZlyZnak and ZaDlugaLinia `linie` holds
// the lines before the one refused.
WynikCzytania czytajLinie(const std::string& sciezka, std::size_t maksBajtow,
                          std::vector<std::string>& linie);

// Splits on TAB; "a\t\tb" gives three fields, "" gives one empty field.
std::vector<std::string_view> pola(std::string_view linia);

// A decimal number as the files write it: an optional "-" and digits, nothing else.
enum class WynikLiczby { Ok, NieLiczba, PozaZakresem };
WynikLiczby liczba(std::string_view tekst, std::int64_t& wartosc);

std::string_view bezOdstepow(std::string_view tekst);

// The file that a name stands for (link/common/NazwaBezWielkosci.h), with the folder it was
// given; the name unchanged when there is none.
std::string plikBezWielkosci(const std::string& nazwa);

// KONFIG.TXT and RAPORT.TXT, in any folder and any letter case, belong to the library.
bool nazwaZastrzezona(const std::string& nazwa);

// Whether two names stand for one file (letter case ignored, as for every name here).
bool tenSamPlik(const std::string& a, const std::string& b);

} // namespace pixo::kavrel
