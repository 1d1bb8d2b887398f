// The serial port on the Win32 communications API, for the maker-compatible DLLs. Under Wine
// \\.\COMN leads through the prefix's device map to the same file the POSIX build opens.

#include "link/common/PortSzeregowy.h"

#include <windows.h>

#include <chrono>
#include <cstdint>

#include "link/common/Protokol.h"

namespace pixo {

namespace {

using Zegar = std::chrono::steady_clock;
using protokol::WYNIK_PORT;
using protokol::WYNIK_TIMEOUT_NADAWANIA;

HANDLE uchwyt(int fd) {
    return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(fd));
}

// "\\.\COM3" is named COM3 to the user.
std::string nazwaPortu(const std::string& sciezka) {
    return sciezka.rfind("\\\\.\\", 0) == 0 ? sciezka.substr(4) : sciezka;
}

std::string powodBledu(DWORD blad, const std::string& sciezka) {
    const std::string port = nazwaPortu(sciezka);
    switch (blad) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return "Port " + port + " nie istnieje (brak urządzenia lub zerwane dowiązanie).";
    // Windows answers both for a port another program holds; under Wine also for one the user
    // may not open.
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return "Port " + port +
               " jest zajęty przez inny program albo brak uprawnień do niego (w Linuksie "
               "użytkownik musi należeć do grupy dialout).";
    default:
        return "Nie można otworzyć portu " + port + ": błąd systemu " + std::to_string(blad) + ".";
    }
}

// Reads return at once with what has arrived; czytaj() does the waiting itself. Wine keeps
// the documented "wait for the first byte" setting (both read values MAXDWORD) waiting for
// the whole total timeout, which would stall every reply.
bool ustawLimity(HANDLE h, int timeoutZapisuMs) {
    COMMTIMEOUTS t{};
    t.ReadIntervalTimeout = MAXDWORD;
    t.WriteTotalTimeoutConstant = static_cast<DWORD>(timeoutZapisuMs < 1 ? 1 : timeoutZapisuMs);
    return SetCommTimeouts(h, &t) != 0;
}

} // namespace

PortSzeregowy::~PortSzeregowy() {
    zamknij();
}

std::string PortSzeregowy::sciezka(const std::string&, int numer) {
    return "\\\\.\\COM" + std::to_string(numer);
}

std::uint8_t PortSzeregowy::otworz(const std::string& katalog, int numer, int baud,
                                   std::string& powod) {
    if (numer < 1 || numer > 255) {
        powod = "Niepoprawny numer portu " + std::to_string(numer) + ".";
        return WYNIK_PORT;
    }
    return otworzSciezke(sciezka(katalog, numer), baud, powod);
}

std::uint8_t PortSzeregowy::otworzSciezke(const std::string& sciezka, int baud,
                                          std::string& powod) {
    zamknij();
    powod.clear();
    if (baud < 300 || baud > 4000000) {
        powod = "Niepoprawna szybkość transmisji " + std::to_string(baud) + ".";
        return WYNIK_PORT;
    }
    // Share mode 0: no other open of the port while this one lasts.
    const HANDLE h = CreateFileA(sciezka.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        powod = powodBledu(GetLastError(), sciezka);
        return WYNIK_PORT;
    }
    auto porazka = [&](const std::string& tekst) -> std::uint8_t {
        CloseHandle(h);
        powod = tekst;
        return WYNIK_PORT;
    };
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (GetFileType(h) != FILE_TYPE_CHAR || !GetCommState(h, &dcb))
        return porazka(nazwaPortu(sciezka) + " nie jest portem szeregowym.");
    dcb.BaudRate = static_cast<DWORD>(baud);
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    if (!SetCommState(h, &dcb))
        return porazka("Port " + nazwaPortu(sciezka) + " nie obsługuje szybkości " +
                       std::to_string(baud) + ".");
    if (!ustawLimity(h, 1000))
        return porazka(powodBledu(GetLastError(), sciezka));
    PurgeComm(h, PURGE_RXCLEAR | PURGE_TXCLEAR);
    fd_ = static_cast<int>(reinterpret_cast<std::intptr_t>(h));
    return 0;
}

void PortSzeregowy::zamknij() {
    if (fd_ < 0)
        return;
    CloseHandle(uchwyt(fd_));
    fd_ = -1;
}

std::uint8_t PortSzeregowy::pisz(const std::uint8_t* p, std::size_t n, int timeoutMs) {
    if (fd_ < 0)
        return WYNIK_TIMEOUT_NADAWANIA;
    const HANDLE h = uchwyt(fd_);
    if (!ustawLimity(h, timeoutMs))
        return WYNIK_TIMEOUT_NADAWANIA;
    while (n > 0) {
        DWORD zapisane = 0;
        if (!WriteFile(h, p, static_cast<DWORD>(n), &zapisane, nullptr) || zapisane == 0)
            return WYNIK_TIMEOUT_NADAWANIA; // the write timeout ran out, or the line failed
        p += zapisane;
        n -= zapisane;
    }
    return 0;
}

long PortSzeregowy::czytaj(std::uint8_t* bufor, std::size_t maks, int timeoutMs) {
    if (fd_ < 0)
        return -1;
    const HANDLE h = uchwyt(fd_);
    const auto termin = Zegar::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        DWORD przeczytane = 0;
        if (!ReadFile(h, bufor, static_cast<DWORD>(maks), &przeczytane, nullptr))
            return -1; // adapter unplugged or pseudo-terminal closed
        if (przeczytane > 0)
            return static_cast<long>(przeczytane);
        if (Zegar::now() >= termin)
            return 0;
        // A millisecond between looks is a few bytes' line time at 57600 baud; the protocol
        // keeps several frames in flight, so this does not slow a transfer down.
        Sleep(1);
    }
}

void PortSzeregowy::oproznijWejscie() {
    if (fd_ >= 0)
        PurgeComm(uchwyt(fd_), PURGE_RXCLEAR);
}

} // namespace pixo
