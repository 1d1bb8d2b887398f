#pragma once
// A serial port: raw 8N1 at a given speed, opened exclusively, with timeouts. One file per
// platform behind this header, chosen by the build: PortSzeregowy_posix.cpp (termios, poll();
// alike on real ports, USB adapters and pseudo-terminals) and PortSzeregowy_win.cpp (the Win32
// communications API, for the maker-compatible DLLs run under Wine).

#include <cstddef>
#include <cstdint>
#include <string>

namespace pixo {

class PortSzeregowy {
public:
    PortSzeregowy() = default;
    PortSzeregowy(const PortSzeregowy&) = delete;
    PortSzeregowy& operator=(const PortSzeregowy&) = delete;
    ~PortSzeregowy();

    // Port number N: the file "comN" (any letter case) in `katalog` when one exists, else
    // /dev/ttyS<N-1>. On Win32 the device \\.\COMN, whatever `katalog` (under Wine the
    // program maps COMN to the same file as above).
    static std::string sciezka(const std::string& katalog, int numer);

    // 0 when open; else 62 with the reason, in Polish, in `powod`.
    std::uint8_t otworz(const std::string& katalog, int numer, int baud, std::string& powod);
    // Opens a given device path (the emulator's tests use it directly).
    std::uint8_t otworzSciezke(const std::string& sciezka, int baud, std::string& powod);
    void zamknij();
    bool otwarty() const { return fd_ >= 0; }
    int deskryptor() const { return fd_; }

    // Writes everything; 0, or 20 when the port takes nothing for `timeoutMs` or fails.
    std::uint8_t pisz(const std::uint8_t* p, std::size_t n, int timeoutMs);
    // Waits up to `timeoutMs` for bytes: their count, 0 on timeout, -1 when the line is gone
    // (adapter unplugged, pseudo-terminal closed).
    long czytaj(std::uint8_t* bufor, std::size_t maks, int timeoutMs);
    // Drops bytes received and not yet read.
    void oproznijWejscie();

private:
    // The descriptor; on Win32 the port's HANDLE (Windows keeps handles within 32 bits), -1
    // when closed either way.
    int fd_ = -1;
};

// Sets a speed that has no B-constant (28800) through termios2; false when the driver refuses.
bool ustawPredkoscNiestandardowa(int fd, int baud);

} // namespace pixo
