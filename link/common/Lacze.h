#pragma once
// The PC's end of the wire protocol (docs/protocol.md) over one serial port: multiplexer channel
// selection and one request/reply exchange at a time, with the configured timeout per reply.
// Used by the serial library (command by command) and by the client of the key-definition
// library.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "link/common/KlientKasy.h"
#include "link/common/PortSzeregowy.h"
#include "link/common/Protokol.h"
#include "link/common/Ramka.h"

namespace pixo {

class Lacze {
public:
    // 0 when the port is open; else 62 with the reason in `powod`.
    std::uint8_t otworz(const std::string& katalog, int port, int baud, int timeoutSek,
                        std::string& powod);
    void zamknij() { port_.zamknij(); }
    bool otwarte() const { return port_.otwarty(); }
    void ustawTimeout(int timeoutSek);

    // 0 when the multiplexer selected the channel; 21 no answer, 23 bad answers or the channel
    // has no register, 24 the device refused the selection (no multiplexer).
    std::uint8_t wybierzKanal(int kanal);

    // Called with the reply message each time it has grown during wymiana (on the caller's
    // thread); empty: nothing is called.
    std::function<void(const std::vector<std::uint8_t>& czesc)> naOdbior;

    // Sends one request message and receives the reply message: 0, 20, 21, 23 or 24. A
    // complete message that `nasza` does not take for this exchange's reply (a late reply to
    // an abandoned one) is dropped and the wait goes on.
    std::uint8_t wymiana(const std::vector<std::uint8_t>& zapytanie,
                         std::vector<std::uint8_t>& odpowiedz,
                         const std::function<bool(const std::vector<std::uint8_t>&)>& nasza = {});

    // A command: request [exchange number, rozkaz, argumenty...], the exchange number new for
    // every command, so that a late reply to an earlier one is told apart; on 0 `dane` holds
    // the reply data. Nonzero
    // replies come back as result codes (the key-command error field, else the status through
    // protokol::kodZeStatusu).
    std::uint8_t rozkaz(std::uint8_t kod, const std::vector<std::uint8_t>& argumenty,
                        std::vector<std::uint8_t>& dane);

private:
    std::uint8_t wyslij(const std::vector<std::uint8_t>& bajty);

    PortSzeregowy port_;
    ramka::Dekoder dekoder_;
    int timeoutMs_ = 5000;
    int baud_ = 9600;
    std::uint8_t nrWymiany_ = 0;
};

// KlientKasy over a Lacze.
class KlientKasyLacze : public KlientKasy {
public:
    explicit KlientKasyLacze(std::unique_ptr<Lacze> lacze) : lacze_(std::move(lacze)) {}

    std::uint8_t identyfikacja(std::uint8_t& bajt) override;
    std::uint8_t numerKasy(std::string& numer) override;
    std::uint8_t czytajDefinicje(std::vector<DefinicjaNaKasie>& definicje) override;
    std::uint8_t zapiszDefinicje(const std::vector<DefinicjaNaKasie>& definicje) override;
    std::uint8_t skasujDefinicje(const std::vector<std::uint8_t>& kody) override;
    std::uint8_t czytajTowary(std::vector<TowarNaKasie>& towary) override;
    std::uint8_t czytajPlatnosci(std::vector<std::string>& nazwy) override;
    std::uint8_t czytajWaluty(std::vector<std::string>& nazwy) override;

    Lacze& lacze() { return *lacze_; }

private:
    std::uint8_t czytajNazwy(std::uint8_t kod, std::size_t ile, std::vector<std::string>& nazwy);
    // A command whose reply is a list, its items counted into `postep` as they arrive.
    std::uint8_t rozkazListy(std::uint8_t kod, protokol::LicznikPozycji::Lista lista,
                             std::vector<std::uint8_t>& dane);

    std::unique_ptr<Lacze> lacze_;
};

} // namespace pixo
