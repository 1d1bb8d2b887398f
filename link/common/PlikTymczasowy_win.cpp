// The whole-or-nothing writer on Win32, for the maker-compatible DLLs: the same promise as
// the POSIX file, kept with Windows calls (see the header for what differs).

#include "link/common/PlikTymczasowy.h"

#include <windows.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <utility>

namespace pixo {

namespace {

constexpr std::size_t kDlugoscPrzyrostka = 8;

HANDLE uchwyt(int fd) {
    return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(fd));
}

std::string losowyPrzyrostek() {
    static std::atomic<unsigned> licznik{0};
    thread_local std::mt19937 los(
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count() ^
                              GetCurrentProcessId() ^ licznik.fetch_add(1)));
    static constexpr char znaki[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string s(kDlugoscPrzyrostka, 'x');
    for (char& z : s)
        z = znaki[los() % (sizeof znaki - 1)];
    return s;
}

// The header promises the system's error numbers; the callers know errno values.
int numerBledu(DWORD blad) {
    switch (blad) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_WRITE_PROTECT:
        return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    default:
        return EIO;
    }
}

// Temporaries of `nazwa` left in `folder` by writers killed before they finished. A living
// writer holds its temporary open without sharing, so it cannot be deleted; a leftover can.
// The folder part of a path as written, with its separator (empty for a bare name), and the
// file's name.
std::pair<std::string, std::string> folderINazwa(const std::string& sciezka) {
    const auto ukosnik = sciezka.find_last_of("/\\");
    if (ukosnik == std::string::npos)
        return {std::string(), sciezka};
    return {sciezka.substr(0, ukosnik + 1), sciezka.substr(ukosnik + 1)};
}

void usunOsierocone(const std::string& folder, const std::string& nazwa) {
    const std::string poczatek = "." + nazwa + ".";
    WIN32_FIND_DATAA d;
    const HANDLE szukanie = FindFirstFileA((folder + poczatek + "*.tmp").c_str(), &d);
    if (szukanie == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string n = d.cFileName;
        if (n.size() == poczatek.size() + kDlugoscPrzyrostka + 4 && n.rfind(poczatek, 0) == 0)
            DeleteFileA((folder + n).c_str());
    } while (FindNextFileA(szukanie, &d));
    FindClose(szukanie);
}

} // namespace

PlikTymczasowy::~PlikTymczasowy() {
    porzuc();
}

bool PlikTymczasowy::niepowodzenie(int blad) {
    blad_ = blad ? blad : EIO;
    porzuc();
    return false;
}

bool PlikTymczasowy::utworz(const std::string& sciezka, bool szukajPozostalosci) {
    porzuc();
    blad_ = 0;
    if (sciezka.empty())
        return niepowodzenie(ENOENT);
    cel_ = sciezka;
    const DWORD atrybuty = GetFileAttributesA(cel_.c_str());
    const bool istnieje = atrybuty != INVALID_FILE_ATTRIBUTES;
    if (istnieje && (atrybuty & FILE_ATTRIBUTE_DIRECTORY))
        return niepowodzenie(EISDIR);
    if (istnieje && (atrybuty & FILE_ATTRIBUTE_READONLY))
        return niepowodzenie(EACCES);
    const auto [folder, nazwa] = folderINazwa(cel_);
    for (int proba = 0; proba < 20; ++proba) {
        const std::string kandydat = folder + "." + nazwa + "." + losowyPrzyrostek() + ".tmp";
        // No sharing: the open handle is this writer's lock on its temporary.
        const HANDLE h = CreateFileA(kandydat.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            fd_ = static_cast<int>(reinterpret_cast<std::intptr_t>(h));
            tymczasowa_ = kandydat;
            if (szukajPozostalosci)
                usunOsierocone(folder, nazwa);
            return true;
        }
        const DWORD blad = GetLastError();
        if (blad != ERROR_FILE_EXISTS && blad != ERROR_ALREADY_EXISTS)
            return niepowodzenie(numerBledu(blad));
    }
    return niepowodzenie(EEXIST);
}

bool PlikTymczasowy::zapisz(std::string_view dane) {
    if (fd_ < 0)
        return false;
    while (!dane.empty()) {
        DWORD zapisane = 0;
        if (!WriteFile(uchwyt(fd_), dane.data(), static_cast<DWORD>(dane.size()), &zapisane,
                       nullptr) ||
            zapisane == 0)
            return niepowodzenie(numerBledu(GetLastError()));
        dane.remove_prefix(zapisane);
    }
    return true;
}

bool PlikTymczasowy::opublikuj() {
    if (fd_ < 0)
        return false;
    // On the disk before the rename, as on POSIX: the new name never holds a file whose data
    // did not reach it.
    if (!FlushFileBuffers(uchwyt(fd_)))
        return niepowodzenie(numerBledu(GetLastError()));
    const HANDLE h = uchwyt(fd_);
    fd_ = -1;
    if (!CloseHandle(h))
        return niepowodzenie(numerBledu(GetLastError()));
    if (!MoveFileExA(tymczasowa_.c_str(), cel_.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return niepowodzenie(numerBledu(GetLastError()));
    tymczasowa_.clear();
    return true;
}

void PlikTymczasowy::porzuc() {
    if (fd_ >= 0) {
        CloseHandle(uchwyt(fd_));
        fd_ = -1;
    }
    if (!tymczasowa_.empty()) {
        DeleteFileA(tymczasowa_.c_str());
        tymczasowa_.clear();
    }
}

void usunPozostalosci(const std::vector<std::string>& sciezki) {
    // The system finds a file's temporaries by their name's beginning: a look for each.
    for (const std::string& sciezka : sciezki) {
        if (sciezka.empty())
            continue;
        const auto [folder, nazwa] = folderINazwa(sciezka);
        usunOsierocone(folder, nazwa);
    }
}

bool zapiszCalyPlik(const std::string& sciezka, std::string_view tresc, int* blad) {
    PlikTymczasowy plik;
    const bool ok = plik.utworz(sciezka) && plik.zapisz(tresc) && plik.opublikuj();
    if (!ok && blad)
        *blad = plik.bladSystemu();
    return ok;
}

} // namespace pixo
