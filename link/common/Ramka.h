#pragma once
// Frames on the serial line (docs/protocol.md): SOH, type, number, 16-bit length, header CRC-8,
// data, CRC-16. The encoder and the incremental decoder are shared by both register libraries
// and the emulator, so that all of them agree on every byte.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pixo::ramka {

constexpr std::uint8_t SOH = 0x01;

enum Typ : std::uint8_t {
    ACK = 0x06,
    NAK = 0x15,
    POCZATEK = 'S', // first block of a message, more follow
    BLOK = 'B',     // middle block
    KONIEC = 'K',   // last block
    JEDYNA = 'J',   // a message in one block
    KANAL = 'M',    // multiplexer channel selection
};

constexpr std::size_t MAKS_DANYCH = 1024;
constexpr std::size_t NAGLOWEK = 6; // SOH, TYP, NR, DL (2), HCRC
constexpr std::size_t NARZUT = NAGLOWEK + 2;

bool typZnany(std::uint8_t typ);
bool typDanych(std::uint8_t typ);   // S, B, K or J
bool typPoczatku(std::uint8_t typ); // S or J

std::uint16_t crc16(const std::uint8_t* p, std::size_t n, std::uint16_t crc = 0xFFFF);
std::uint8_t crc8(const std::uint8_t* p, std::size_t n);

// Appends one encoded frame to `wyjscie`. `n` must not exceed MAKS_DANYCH.
void koduj(std::uint8_t typ, std::uint8_t nr, const std::uint8_t* dane, std::size_t n,
           std::vector<std::uint8_t>& wyjscie);
std::vector<std::uint8_t> koduj(std::uint8_t typ, std::uint8_t nr,
                                const std::vector<std::uint8_t>& dane = {});

struct Ramka {
    std::uint8_t typ = 0;
    std::uint8_t nr = 0;
    std::vector<std::uint8_t> dane;
    bool poprawna = true; // false: the header was valid but the frame's CRC was not
};

// Incremental parser: any bytes may be fed in any pieces; valid frames come out in order, frames
// with a valid header and a bad CRC come out marked as bad, everything else is skipped.
class Dekoder {
public:
    void dodaj(const std::uint8_t* p, std::size_t n);
    // Takes the next frame out of the buffer; false when no complete frame is buffered.
    bool nastepna(Ramka& r);
    // Bytes skipped as garbage since construction or the last wyczysc().
    std::size_t odrzucone() const { return odrzucone_; }
    // A valid header is buffered and the rest of its frame is still to come.
    bool wTrakcie() const { return wTrakcie_; }
    std::size_t zbuforowane() const { return bufor_.size() - poczatek_; }
    void wyczysc();

private:
    void pomin(std::size_t n);

    std::vector<std::uint8_t> bufor_;
    std::size_t poczatek_ = 0;
    std::size_t odrzucone_ = 0;
    bool wTrakcie_ = false;
};

} // namespace pixo::ramka
