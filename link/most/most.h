#pragma once
// The framing between the program and pixo-most.exe, the small 32-bit Windows program that
// loads the maker's Kavrel.dll and Sevrin.dll under Wine and makes the calls the program asks
// for (docs/most.md). Both ends include this header, so they read one table of functions and
// one layout of frames. Plain C++, no Qt, no Windows.
//
// The bridge's standard input carries calls, its standard output their results; every number
// is little endian. Frames have fixed sizes, told by their first byte and the function:
// - to the bridge: 'Z', the function's number, then its arguments in order: a value or a
//   handle as 4 bytes, a buffer as its 256 bytes;
// - from the bridge, once after start: 'G', kWersja, and 4 bytes with one bit per function
//   (by number) that the DLLs have; then for each call any number of 'P' (progress: 4 bytes
//   done, 4 bytes of the total) and one 'W': the result (one byte, or 4 for a function whose
//   result is an int), then each handle (4 bytes) and each buffer (256 bytes) as the call left
//   them;
// - instead of 'G' or 'W': 'B', the fault (Blad), the library, the function's number (or
//   kBezFunkcji) and 4 bytes of detail. After Zaladowanie, BrakFunkcji and Awaria the bridge
//   ends; after Konwencja it goes on with the next call.

#include <cstddef>
#include <cstdint>

namespace pixo::most {

inline constexpr std::uint8_t kWersja = 2;
inline constexpr std::size_t kRozmiarBufora = 256;
inline constexpr std::uint8_t kBezFunkcji = 0xff;

enum class Biblioteka : std::uint8_t { Kavrel = 0, Sevrin = 1 };
inline const char* NazwaBiblioteki(Biblioteka b) {
    return b == Biblioteka::Kavrel ? "Kavrel.dll" : "Sevrin.dll";
}

// Who removes the arguments: the caller (__cdecl) or the callee (__stdcall).
enum class Konwencja : std::uint8_t { Cdecl, Stdcall };

// The functions by number. Arguments, one letter each: 'w' a value (8, 16 or 32 bits, passed
// as a 32-bit stack slot as both conventions do), 'u' the address of a 32-bit handle the call
// may change, 'b' the address of a 256-byte buffer.
enum Id : std::uint8_t {
    ODefKlaw,
    ZDefKlaw,
    KDefKlaw,
    TowarMax,
    OPlat,
    OWaluta,
    OtwartoPlik,
    ZapisanoDoPlikuLinie,
    ZamknieciePliku,
    UnInitializePort,
    InitializePort,
    UstawKanal,
    RSSequence,
    PowodBleduKavrel, // optional: _PowodBleduPortu
    PowodBleduSevrin, // optional: PowodBleduPortu
    UstawPostep,      // optional; the bridge registers its own progress function, never forwarded
    PowodBleduKonfiguracji, // optional: _PowodBleduKonfiguracji
    BladSystemuPliku,       // optional: _BladSystemuPliku, an int
    kLiczbaFunkcji
};

struct Funkcja {
    const char* nazwa;
    Biblioteka biblioteka;
    Konwencja konwencja;
    const char* argumenty;
    bool wymagana;
    std::uint8_t bajtyWyniku = 1; // a one-byte result in AL, or an int in EAX
};

inline constexpr Funkcja kFunkcje[kLiczbaFunkcji] = {
    {"__ODefKlaw", Biblioteka::Kavrel, Konwencja::Cdecl, "bb", true},
    {"__ZDefKlaw", Biblioteka::Kavrel, Konwencja::Cdecl, "b", true},
    {"__KDefKlaw", Biblioteka::Kavrel, Konwencja::Cdecl, "b", true},
    {"__TowarMax", Biblioteka::Kavrel, Konwencja::Cdecl, "bb", true},
    {"__OPlat", Biblioteka::Kavrel, Konwencja::Cdecl, "bb", true},
    {"__OWaluta", Biblioteka::Kavrel, Konwencja::Cdecl, "bb", true},
    {"_OtwartoPlik", Biblioteka::Kavrel, Konwencja::Stdcall, "ubw", true},
    {"_ZapisanoDoPlikuLinie", Biblioteka::Kavrel, Konwencja::Stdcall, "wb", true},
    {"_ZamknieciePliku", Biblioteka::Kavrel, Konwencja::Stdcall, "u", true},
    {"UnInitializePort", Biblioteka::Sevrin, Konwencja::Stdcall, "", true},
    {"InitializePort", Biblioteka::Sevrin, Konwencja::Stdcall, "wwww", true},
    {"UstawKanal", Biblioteka::Sevrin, Konwencja::Stdcall, "w", true},
    {"RSSequence", Biblioteka::Sevrin, Konwencja::Stdcall, "wwwbb", true},
    {"_PowodBleduPortu", Biblioteka::Kavrel, Konwencja::Cdecl, "b", false},
    {"PowodBleduPortu", Biblioteka::Sevrin, Konwencja::Stdcall, "b", false},
    {"_UstawPostep", Biblioteka::Kavrel, Konwencja::Cdecl, "ww", false},
    {"_PowodBleduKonfiguracji", Biblioteka::Kavrel, Konwencja::Cdecl, "b", false},
    {"_BladSystemuPliku", Biblioteka::Kavrel, Konwencja::Cdecl, "", false, 4},
};

// Frame kinds: the first byte.
inline constexpr std::uint8_t kWywolanie = 'Z';
inline constexpr std::uint8_t kGotowy = 'G';
inline constexpr std::uint8_t kWynik = 'W';
inline constexpr std::uint8_t kPostep = 'P';
inline constexpr std::uint8_t kBlad = 'B';

enum class Blad : std::uint8_t {
    Zaladowanie = 1, // the DLL did not load; detail: the Windows error code
    BrakFunkcji = 2, // a required function is missing
    Konwencja = 3,   // the function removed a different number of argument bytes (detail)
    Awaria = 4       // an exception no one handled; detail: its code
};

inline constexpr std::size_t kRozmiarGotowy = 6; // 'G', version, the mask
inline constexpr std::size_t kRozmiarPostepu = 9;
inline constexpr std::size_t kRozmiarBledu = 8; // 'B', kind, library, function, detail
// The longest of the three above: a buffer that takes any of them.
inline constexpr std::size_t kRozmiarRamkiStalej = kRozmiarPostepu;

inline std::size_t liczba(const char* argumenty, char rodzaj) {
    std::size_t n = 0;
    for (const char* a = argumenty; *a; ++a)
        n += *a == rodzaj;
    return n;
}

// The whole call frame of `id`, and the whole result frame.
inline std::size_t RozmiarWywolania(Id id) {
    const char* a = kFunkcje[id].argumenty;
    return 2 + 4 * (liczba(a, 'w') + liczba(a, 'u')) + kRozmiarBufora * liczba(a, 'b');
}
inline std::size_t RozmiarWyniku(Id id) {
    const char* a = kFunkcje[id].argumenty;
    return 1 + kFunkcje[id].bajtyWyniku + 4 * liczba(a, 'u') + kRozmiarBufora * liczba(a, 'b');
}

inline void ZapiszU32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline std::uint32_t CzytajU32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

} // namespace pixo::most
