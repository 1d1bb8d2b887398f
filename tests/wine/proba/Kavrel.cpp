// A faulty Kavrel.dll for the bridge's tests: the maker's exports, each of the register
// operations misbehaving in its own way, so that every fault a real DLL may show happens on
// demand. __ZDefKlaw crashes, __KDefKlaw never returns, __OPlat removes its own arguments
// (the wrong convention); the rest answer at once: 0 (__ODefKlaw with a file of no keys), the
// line-file writer nonzero.

#include <windows.h>

#include <cstdint>

#define EKSPORT extern "C"

// Writes the three header lines of a key-definition file, as a read of a register with no key
// defined would.
EKSPORT unsigned char __cdecl __ODefKlaw(const char*, const char* wyjscie) {
    const HANDLE h = CreateFileA(wyjscie, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    const bool ok = h != INVALID_HANDLE_VALUE && WriteFile(h, "#1\r\n#\r\n#\r\n", 11, &n, nullptr);
    if (h != INVALID_HANDLE_VALUE)
        CloseHandle(h);
    return ok ? 0 : 8;
}
EKSPORT unsigned char __cdecl __ZDefKlaw(const char*) {
    // Through a volatile pointer, so the compiler keeps the fault.
    volatile std::uint8_t* volatile nic = nullptr;
    *nic = 1;
    return 0;
}
EKSPORT unsigned char __cdecl __KDefKlaw(const char*) {
    Sleep(INFINITE);
    return 0;
}
EKSPORT unsigned char __cdecl __TowarMax(const char*, const char*) {
    return 0;
}
EKSPORT unsigned char __stdcall __OPlat(const char*, const char*) {
    return 0;
}
EKSPORT unsigned char __cdecl __OWaluta(const char*, const char*) {
    return 0;
}
EKSPORT unsigned char __stdcall _OtwartoPlik(std::int32_t* uchwyt, const char*, unsigned char) {
    *uchwyt = 1;
    return 1;
}
EKSPORT unsigned char __stdcall _ZapisanoDoPlikuLinie(std::int32_t, const char*) {
    return 1;
}
EKSPORT unsigned char __stdcall _ZamknieciePliku(std::int32_t* uchwyt) {
    *uchwyt = 0;
    return 1;
}
