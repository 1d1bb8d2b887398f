#pragma once
// Messages over frames (docs/protocol.md): command codes, register statuses, the payload
// encodings, and the two transfer state machines. The state machines do no I/O: the client
// drives them with blocking reads, the emulator from its event loop, and both send exactly the
// frames these classes produce.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "link/common/KlientKasy.h"
#include "link/common/Ramka.h"

namespace pixo::protokol {

constexpr std::size_t OKNO = 8;   // frames in flight
constexpr int MAKS_POWTORZEN = 3; // repetitions of one frame
constexpr std::size_t MAKS_WIADOMOSCI = 1u << 20;
constexpr int CISZA_PO_SMIECIACH_MS = 100; // garbage then this much silence: ask again

// Command codes.
constexpr std::uint8_t ROZKAZ_IDENTYFIKACJA = 254;
constexpr std::uint8_t ROZKAZ_NUMER_KASY = 192;
constexpr std::uint8_t ROZKAZ_CZYTAJ_DEFINICJE = 0x50;
constexpr std::uint8_t ROZKAZ_ZAPISZ_DEFINICJE = 0x51;
constexpr std::uint8_t ROZKAZ_KASUJ_DEFINICJE = 0x52;
constexpr std::uint8_t ROZKAZ_CZYTAJ_TOWARY = 0x60;
constexpr std::uint8_t ROZKAZ_CZYTAJ_PLATNOSCI = 0x61;
constexpr std::uint8_t ROZKAZ_CZYTAJ_WALUTY = 0x62;

// Register status bytes (translated by kodZeStatusu).
constexpr std::uint8_t STATUS_OK = 0;
constexpr std::uint8_t STATUS_NIEZNANY_ROZKAZ = 25;        // -> 25
constexpr std::uint8_t STATUS_BLEDNY_NUMER_TOWARU = 30;    // -> 105
constexpr std::uint8_t STATUS_NUMER_PLATNOSCI = 39;        // -> 115
constexpr std::uint8_t STATUS_RABAT_POZA_ZAKRESEM = 47;    // -> 207
constexpr std::uint8_t STATUS_PARAMETR_POZA_ZAKRESEM = 48; // -> 208

// Result codes of the key-definition commands, carried in their own reply field.
constexpr std::uint8_t KLAWISZ_NIEDOZWOLONY = 228;
constexpr std::uint8_t BRAK_MIEJSCA_NA_PLATNOSCI = 229;

// Result codes of the link itself.
constexpr std::uint8_t WYNIK_TIMEOUT_NADAWANIA = 20;
constexpr std::uint8_t WYNIK_TIMEOUT_ODBIORU = 21;
constexpr std::uint8_t WYNIK_ZLA_ODPOWIEDZ = 23;
constexpr std::uint8_t WYNIK_NAK = 24;
constexpr std::uint8_t WYNIK_NIEZNANY_ROZKAZ = 25;
constexpr std::uint8_t WYNIK_PORT = 62;

constexpr int LICZBA_TOWAROW = 3071;
constexpr int LICZBA_PLATNOSCI = 6;
constexpr int LICZBA_WALUT = 8;

// The register's status byte as a result code: bit 7 ignored, bit 6 gives 255, the low six
// bits 0-25 -> same, 26-30 -> +75, 31-39 -> +76, 40-50 -> +160, 63 -> 211, 51-62 -> 255.
std::uint8_t kodZeStatusu(std::uint8_t status);

// Messages on the line carry the PC's exchange number first, so that a late reply to an
// abandoned exchange is told apart from the one awaited: a request is [exchange number,
// command, arguments...], a reply [exchange number, command echo, status, key-command error,
// data...]; the register echoes the number it was given.
constexpr std::size_t NAGLOWEK_ODPOWIEDZI = 4; // bytes before a reply's data

// The register's reply to a command (without the exchange number): command echo, status,
// key-command error, data.
std::vector<std::uint8_t> odpowiedz(std::uint8_t rozkaz, std::uint8_t status,
                                    std::uint8_t bladKlawisza,
                                    const std::vector<std::uint8_t>& dane = {});

// Sends one message as numbered blocks within the window; go-back-N on NAK.
class Nadawca {
public:
    enum class Stan { Bezczynny, WToku, Gotowe, ZaDuzoNak };

    void zacznij(std::vector<std::uint8_t> wiadomosc);
    // Encoded frames that may go out now; the window moves only through potwierdzenie().
    std::vector<std::vector<std::uint8_t>> doWyslania();
    // Takes an ACK or NAK frame. Returns true when it made the sender go back (frames handed
    // out earlier and not yet on the line are then stale).
    bool potwierdzenie(const ramka::Ramka& r);
    // Everything up to the last frame is acknowledged.
    void wszystkoDoszlo();
    Stan stan() const { return stan_; }
    std::size_t potwierdzone() const { return baza_; }
    void przerwij() { stan_ = Stan::Bezczynny; }
    std::size_t liczbaRamek() const { return liczbaRamek_; }

private:
    std::size_t bezwzgledny(std::uint8_t nr) const;

    std::vector<std::uint8_t> wiadomosc_;
    std::size_t liczbaRamek_ = 0;
    std::size_t baza_ = 0; // oldest unacknowledged frame
    std::size_t nastepna_ = 0;
    std::size_t nakDla_ = SIZE_MAX;
    int powtorzenia_ = 0;
    Stan stan_ = Stan::Bezczynny;
};

// Receives one message; answers every data frame with ACK or NAK.
class Odbiorca {
public:
    enum class Stan { Czeka, WToku, Kompletna, ZaDuzoBledow, ZaDluga };

    void zacznij();
    // Takes a data frame (valid or bad); appends the frame to answer with, if any, to
    // `doWyslania`.
    Stan ramka(const ramka::Ramka& r, std::vector<std::uint8_t>& doWyslania);
    // Garbage was followed by silence while the message is incomplete.
    Stan cisza(std::vector<std::uint8_t>& doWyslania);
    Stan stan() const { return stan_; }
    const std::vector<std::uint8_t>& wiadomosc() const { return wiadomosc_; }
    std::vector<std::uint8_t>& wiadomosc() { return wiadomosc_; }

private:
    Stan nak(std::vector<std::uint8_t>& doWyslania);

    std::vector<std::uint8_t> wiadomosc_;
    std::uint8_t oczekiwany_ = 0;
    int bledy_ = 0;
    bool nakWyslany_ = false;
    Stan stan_ = Stan::Czeka;
};

// Counts the items of a list reply while it arrives: how many are complete and how many the
// reply holds (0 until its count has arrived). Fed the reply message (command, status and error
// bytes first) each time it has grown; items are counted once each, so a whole transfer costs
// one pass over the reply.
class LicznikPozycji {
public:
    enum class Lista { Nazwy, Definicje };
    explicit LicznikPozycji(Lista lista) : lista_(lista) {}
    // True when the counts changed.
    bool dalej(const std::vector<std::uint8_t>& wiadomosc);
    unsigned zrobione() const { return zrobione_; }
    unsigned calosc() const { return calosc_; }

private:
    Lista lista_;
    bool znanaCalosc_ = false;
    std::size_t pozycja_ = 0; // where the next item starts
    unsigned zrobione_ = 0;
    unsigned calosc_ = 0;
};

// Payload encodings.
void dopiszLiczbe(std::vector<std::uint8_t>& w, std::int64_t v);
bool czytajLiczbe(const std::uint8_t*& p, const std::uint8_t* koniec, std::int64_t& v);

void kodujDefinicje(const std::vector<DefinicjaNaKasie>& d, std::vector<std::uint8_t>& w);
bool dekodujDefinicje(const std::uint8_t* p, const std::uint8_t* koniec,
                      std::vector<DefinicjaNaKasie>& d);

// Names of at most 255 bytes each; longer ones are cut.
void kodujNazwy(const std::vector<std::string>& nazwy, std::vector<std::uint8_t>& w);
bool dekodujNazwy(const std::uint8_t* p, const std::uint8_t* koniec,
                  std::vector<std::string>& nazwy);

} // namespace pixo::protokol
