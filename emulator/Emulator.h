#pragma once
// The emulated line: a pseudo-terminal published as "comN", paced like a real serial line,
// speaking the wire protocol as a register (or as a multiplexer with registers on channels
// 1 to 4), with switchable faults. Emulator.cpp is the line: the published pseudo-terminal,
// bytes paced both ways, the poll loop and the cable pulled. Rozmowa.cpp is what the registers
// say over it: their state loaded, frames taken from the decoder, requests handed to the
// register addressed, replies and answers queued for the line, and the faults of frames.

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "emulator/ArgumentyEmulatora.h"
#include "emulator/Kasa.h"
#include "link/common/Protokol.h"
#include "link/common/Ramka.h"

namespace pixo::emulator {

struct Opcje {
    std::string folder = ".";
    int port = 1;
    std::string stan;  // state folder; empty: state kept in memory only
    int model = -1;    // -1: from the state folder, else 139
    std::string numer; // empty: from the state folder, else "01"
    bool mux = false;
    std::vector<KanalMux> kanaly;
    bool bezOdpowiedzi = false;
    int kanalBezOdpowiedzi = 0; // multiplexer channel whose register alone is silent; 0: none
    bool nak = false;
    bool psujRamki = false;
    bool zlyNumer = false;
    // Faults that fire once, by count, so that recovery is what a test sees; 0: never.
    long nakRaz = 0;           // NAK the n-th data frame received
    long nieczytelnaRaz = 0;   // take the n-th data frame received for noise (unreadable)
    long psujRaz = 0;          // corrupt the n-th data block sent
    long bezOdpowiedziRaz = 0; // answer the n-th request with nothing (reply lost)
    long rozlaczPo = 0;        // bytes sent, then the pseudo-terminal is closed; 0: never
    bool tempo = false;        // pace bytes at `baud`
    int baud = 9600;
    int zwlokaMs = 0; // turnaround before each reply
    bool gadatliwy = false;
};

class Emulator {
public:
    explicit Emulator(Opcje o);
    ~Emulator();

    // Loads the registers' state and publishes the port; false with a message in `blad`.
    bool przygotuj(std::string& blad);
    // Runs until `przerwanie` (a pipe that SIGTERM/SIGINT write to) becomes readable.
    int uruchom(int przerwanie);

    const std::string& sciezkaDowiazania() const { return dowiazanie_; }

private:
    struct DoWyslania {
        double nieWczesniej = 0;
        std::vector<std::uint8_t> bajty;
        std::size_t wyslano = 0;
        bool dane = false; // a block of the current reply (dropped when the sender goes back)
    };

    // The line (Emulator.cpp).
    bool otworzPty(std::string& blad);
    void zamknijPty();
    void zerujSesje();
    void rozlacz();
    double teraz() const;
    double czasBajtu() const;
    void odebrane(const std::uint8_t* p, std::size_t n, double t);
    void uwolnijOdebrane(double t);
    void pompujNadawanie(double t);
    double nastepnaPobudka(double t) const;

    // The conversation (Rozmowa.cpp).
    void obsluzRamki(double t);
    void obsluzRamke(const ramka::Ramka& r, double t);
    void sprawdzCisze(double t);
    void kolejkuj(std::vector<std::uint8_t> bajty, bool dane, double t);
    void kolejkujOdpowiedz(double t);
    void usunNiewyslaneDane();
    Kasa* kasaDocelowa();
    bool milczy() const; // the register addressed now does not answer

    Opcje o_;
    std::map<int, std::unique_ptr<Kasa>> kasy_; // channel -> register (0 without multiplexer)
    int wybranyKanal_ = 0;

    int master_ = -1;
    std::string dowiazanie_;
    bool nikogo_ = true; // nobody holds the other side of the pseudo-terminal open
    bool rozlaczono_ = false;
    bool rozlaczyc_ = false;

    std::vector<std::uint8_t> doUwolnienia_; // received, not yet "arrived" on the paced line
    std::size_t uwolnionoZ_ = 0;
    double zegarOdbioru_ = 0;

    ramka::Dekoder dekoder_;
    protokol::Odbiorca odbiorca_;
    protokol::Nadawca nadawca_;
    bool nadaje_ = false;
    std::size_t odrzucone_ = 0;
    bool czekaNaCisze_ = false;
    bool udaneSmieci_ = false; // a frame taken for noise by a fault
    long odebraneRamki_ = 0;   // data frames received, for the one-shot faults
    long wyslaneBloki_ = 0;    // data blocks queued
    long zadania_ = 0;         // complete requests
    double ostatnieSmieci_ = 0;

    std::deque<DoWyslania> kolejka_;
    double zegarNadawania_ = 0;
    bool zablokowane_ = false;
    long wyslaneRazem_ = 0;
};

} // namespace pixo::emulator
