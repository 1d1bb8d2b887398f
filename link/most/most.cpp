// pixo-most.exe: the bridge between the program and the maker's two 32-bit Windows DLLs, run
// under Wine in the program's working folder, so that relative file names and KONFIG.TXT mean
// what they mean to the stand-in libraries. Arguments: the full names of Kavrel.dll and
// Sevrin.dll. It loads both, looks up every function of link/most/most.h, then serves calls
// from its standard input, one at a time, until the input ends (framing: most.h, docs/most.md).
//
// Every call goes through pixo_wywolaj (wywolanie.S), which tells how many argument bytes the
// function removed: a function of the other convention is reported instead of corrupting the
// stack. A DLL that crashes is reported by the unhandled-exception filter, which then ends the
// bridge; the program starts a fresh one for its next call. Nothing a DLL prints can reach the
// framing: standard output is standard error for everyone but the bridge itself.

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <io.h>

#include "link/kavrel/kavrel.h"
#include "link/most/most.h"
#include "link/sevrin/sevrin.h"

using namespace pixo::most;

extern "C" unsigned pixo_wywolaj(void* funkcja, const std::uint32_t* argumenty, unsigned liczba,
                                 unsigned* zdjete);

namespace {

// The conventions of the table are the libraries' own headers' (checked here, where both are
// compiled for the maker's platform).
template <typename F> constexpr bool jest(F, F) {
    return true;
}
static_assert(jest(&__ODefKlaw,
                   static_cast<unsigned char(__cdecl*)(const char*, const char*)>(nullptr)));
static_assert(jest(
    &_OtwartoPlik,
    static_cast<unsigned char(__stdcall*)(std::int32_t*, const char*, unsigned char)>(nullptr)));
static_assert(
    jest(&::RSSequence,
         static_cast<unsigned char(__stdcall*)(unsigned char, unsigned char, unsigned char,
                                               unsigned char*, unsigned char*)>(nullptr)));

HANDLE g_wejscie = INVALID_HANDLE_VALUE;
HANDLE g_wyjscie = INVALID_HANDLE_VALUE;
void* g_adresy[kLiczbaFunkcji] = {};
// The function running now, for the crash report; kBezFunkcji between calls.
volatile LONG g_biezaca = kBezFunkcji;

bool czytaj(void* cel, DWORD n) {
    auto* p = static_cast<std::uint8_t*>(cel);
    while (n > 0) {
        DWORD przeczytane = 0;
        if (!ReadFile(g_wejscie, p, n, &przeczytane, nullptr) || przeczytane == 0)
            return false;
        p += przeczytane;
        n -= przeczytane;
    }
    return true;
}

bool pisz(const void* zrodlo, DWORD n) {
    const auto* p = static_cast<const std::uint8_t*>(zrodlo);
    while (n > 0) {
        DWORD zapisane = 0;
        if (!WriteFile(g_wyjscie, p, n, &zapisane, nullptr) || zapisane == 0)
            return false;
        p += zapisane;
        n -= zapisane;
    }
    return true;
}

void zglos(Blad blad, Biblioteka biblioteka, std::uint8_t id, std::uint32_t szczegol) {
    std::uint8_t r[kRozmiarBledu] = {kBlad, static_cast<std::uint8_t>(blad),
                                     static_cast<std::uint8_t>(biblioteka), id};
    ZapiszU32(r + 4, szczegol);
    pisz(r, sizeof r);
}

LONG WINAPI poAwarii(EXCEPTION_POINTERS* e) {
    const LONG id = g_biezaca;
    const Biblioteka b = id < kLiczbaFunkcji ? kFunkcje[id].biblioteka : Biblioteka::Kavrel;
    zglos(Blad::Awaria, b, static_cast<std::uint8_t>(id), e->ExceptionRecord->ExceptionCode);
    // Ended here: no debugger, no dialog, no half-done call going on.
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

// The protocol library's progress reports, on the thread of the running call.
void __cdecl naPostep(void*, unsigned zrobione, unsigned calosc) {
    std::uint8_t r[kRozmiarPostepu] = {kPostep};
    ZapiszU32(r + 1, zrobione);
    ZapiszU32(r + 5, calosc);
    pisz(r, sizeof r);
}

// The framing keeps the process's standard input and output for itself. What a DLL writes
// through the C library or the standard handles goes to standard error; it reads nothing.
void przejmijStrumienie() {
    const HANDLE proces = GetCurrentProcess();
    DuplicateHandle(proces, GetStdHandle(STD_INPUT_HANDLE), proces, &g_wejscie, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    DuplicateHandle(proces, GetStdHandle(STD_OUTPUT_HANDLE), proces, &g_wyjscie, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    SetStdHandle(STD_OUTPUT_HANDLE, GetStdHandle(STD_ERROR_HANDLE));
    SetStdHandle(STD_INPUT_HANDLE,
                 CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr));
    _dup2(_fileno(stderr), _fileno(stdout));
    const int nic = _open("NUL", _O_RDONLY);
    if (nic >= 0)
        _dup2(nic, _fileno(stdin));
}

// Calls `id` with its stack arguments; false when the function removed other than its
// convention's number of bytes (reported).
bool wywolaj(std::uint8_t id, const std::uint32_t* argumenty, unsigned liczba,
             std::uint32_t& wynik) {
    const Funkcja& f = kFunkcje[id];
    unsigned zdjete = 0;
    g_biezaca = id;
    const unsigned eax = pixo_wywolaj(g_adresy[id], argumenty, liczba, &zdjete);
    g_biezaca = kBezFunkcji;
    const unsigned oczekiwane = f.konwencja == Konwencja::Stdcall ? 4 * liczba : 0;
    if (zdjete != oczekiwane) {
        zglos(Blad::Konwencja, f.biblioteka, id, zdjete);
        return false;
    }
    // One-byte results live in AL; the rest of EAX is whatever the function left there.
    wynik = f.bajtyWyniku == 1 ? eax & 0xff : eax;
    return true;
}

// One call frame after its first byte: the arguments in, the result frame out.
bool obsluz(std::uint8_t id) {
    const Funkcja& f = kFunkcje[id];
    std::uint8_t bufory[2][kRozmiarBufora];
    std::uint32_t uchwyty[2] = {};
    std::uint32_t stos[5] = {};
    unsigned n = 0, nb = 0, nu = 0;
    for (const char* a = f.argumenty; *a; ++a, ++n) {
        if (*a == 'b') {
            if (!czytaj(bufory[nb], kRozmiarBufora))
                return false;
            stos[n] = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(bufory[nb++]));
            continue;
        }
        std::uint8_t w[4];
        if (!czytaj(w, 4))
            return false;
        if (*a == 'u') {
            uchwyty[nu] = CzytajU32(w);
            stos[n] = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&uchwyty[nu++]));
        } else {
            stos[n] = CzytajU32(w);
        }
    }
    std::uint32_t wynik = 0;
    if (!wywolaj(id, stos, n, wynik))
        return true;
    std::uint8_t naglowek[5] = {kWynik};
    ZapiszU32(naglowek + 1, wynik);
    if (!pisz(naglowek, 1 + f.bajtyWyniku))
        return false;
    for (unsigned i = 0; i < nu; ++i) {
        std::uint8_t w[4];
        ZapiszU32(w, uchwyty[i]);
        if (!pisz(w, 4))
            return false;
    }
    for (unsigned i = 0; i < nb; ++i)
        if (!pisz(bufory[i], kRozmiarBufora))
            return false;
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    // No dialog of any kind, whatever fails.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    przejmijStrumienie();
    if (argc != 3)
        return 2;
    SetUnhandledExceptionFilter(poAwarii);

    HMODULE moduly[2] = {};
    for (int b = 0; b < 2; ++b) {
        // The DLLs a library needs are looked for beside it first.
        moduly[b] = LoadLibraryExW(argv[1 + b], nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        if (!moduly[b]) {
            zglos(Blad::Zaladowanie, static_cast<Biblioteka>(b), kBezFunkcji, GetLastError());
            return 1;
        }
    }
    std::uint32_t maska = 0;
    for (std::uint8_t id = 0; id < kLiczbaFunkcji; ++id) {
        const Funkcja& f = kFunkcje[id];
        g_adresy[id] = reinterpret_cast<void*>(
            GetProcAddress(moduly[static_cast<int>(f.biblioteka)], f.nazwa));
        if (g_adresy[id])
            maska |= 1u << id;
        else if (f.wymagana) {
            zglos(Blad::BrakFunkcji, f.biblioteka, id, 0);
            return 1;
        }
    }
    if (g_adresy[UstawPostep]) {
        const std::uint32_t argumenty[2] = {
            static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&naPostep)), 0};
        std::uint32_t nic = 0;
        if (!wywolaj(UstawPostep, argumenty, 2, nic))
            return 1;
    }
    std::uint8_t gotowy[kRozmiarGotowy] = {kGotowy, kWersja};
    ZapiszU32(gotowy + 2, maska);
    if (!pisz(gotowy, sizeof gotowy))
        return 1;

    for (;;) {
        std::uint8_t naglowek[2];
        if (!czytaj(naglowek, 2))
            return 0; // the program has gone: the input ended
        if (naglowek[0] != kWywolanie || naglowek[1] >= kLiczbaFunkcji ||
            naglowek[1] == UstawPostep || !g_adresy[naglowek[1]])
            return 2;
        if (!obsluz(naglowek[1]))
            return 2;
    }
}
