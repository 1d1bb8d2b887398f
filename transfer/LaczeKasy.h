#pragma once
// The program's way to the register: the calls it makes into the register maker's two
// libraries, the protocol library (register operations and a line-file writer) and the
// serial-port library. Results are the libraries' own bytes, passed on untranslated.
//
// The interface is virtual so that a test can put a fake register link in its place.

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>

#include "core/PostepPracy.h"

class LaczeKasy {
public:
    // The libraries take every name and line as a 256-byte buffer: at most 255 characters and
    // a zero byte. The serial library's receive and send buffers have the same size.
    static constexpr int kRozmiarBufora = 256;
    using Bufor = std::array<char, kRozmiarBufora>;

    virtual ~LaczeKasy() = default;

    // Register operations of the protocol library: 0 on success, else a result code. Each
    // finds the register's connection in KONFIG.TXT by the number named in its input file.
    virtual std::uint8_t ODefKlaw(const QString& wejscie, const QString& wyjscie) = 0;
    virtual std::uint8_t ZDefKlaw(const QString& plik) = 0;
    virtual std::uint8_t KDefKlaw(const QString& lista) = 0;
    virtual std::uint8_t TowarMax(const QString& wejscie, const QString& wyjscie) = 0;
    virtual std::uint8_t OPlat(const QString& wejscie, const QString& wyjscie) = 0;
    virtual std::uint8_t OWaluta(const QString& wejscie, const QString& wyjscie) = 0;

    // Line-file writer of the protocol library: nonzero on success. Mode 1 creates the file
    // anew; a line is written as given, the library ends it.
    virtual std::uint8_t OtwartoPlik(std::int32_t& uchwyt, const QString& nazwa,
                                     std::uint8_t tryb) = 0;
    virtual std::uint8_t ZapisanoDoPlikuLinie(std::int32_t uchwyt, const QByteArray& linia) = 0;
    virtual std::uint8_t ZamknieciePliku(std::int32_t& uchwyt) = 0;

    // Serial-port library. InitializePort: 0 when the port is open. UstawKanal: nonzero when
    // the multiplexer channel (1 to 8) is selected. RSSequence: one command exchange, 0 with
    // the reply in `odbior`, else a result code.
    virtual void UnInitializePort() = 0;
    virtual std::uint8_t InitializePort(std::uint8_t port, std::uint16_t baud,
                                        std::uint16_t timeout, std::uint16_t timeout2) = 0;
    virtual std::uint8_t UstawKanal(std::uint8_t kanal) = 0;
    virtual std::uint8_t RSSequence(std::uint8_t rozkaz, std::uint8_t licznik,
                                    std::uint8_t licznik2, Bufor& odbior,
                                    const Bufor& nadawanie) = 0;

    // Why the last call could not open its port, when it ended with 62 and the library can
    // tell (one line of Polish text); for the faults of another way to the libraries (Wine,
    // BibliotekiWine.h) what went wrong; else empty.
    virtual QString powodBleduPortu() const { return {}; }
    // The system's error number (errno) that made the last line-file call fail, when the
    // library can tell; else 0.
    virtual int bladSystemuPliku() const { return 0; }
    // What was wrong with KONFIG.TXT in the last register operation, when it ended with 7 or 13
    // to 16 and the library can tell (one line of Polish text naming the line); else empty.
    virtual QString powodBleduKonfiguracji() const { return {}; }
    // The particulars of the last failure for the user, a line under the code's message: what
    // was wrong with KONFIG.TXT when the library says, else why the port did not open.
    QString powodBledu() const {
        const QString konfiguracja = powodBleduKonfiguracji();
        return konfiguracja.isEmpty() ? powodBleduPortu() : konfiguracja;
    }

    // Which libraries are in use, one line for the user, when they are not the program's own
    // (shown under the connection test's message); else empty.
    virtual QString opisBibliotek() const { return {}; }
};

// The two libraries themselves, linked by name. Each program hands over its way of waiting
// for a call: the window program runs every call on a worker thread while it waits with the
// busy cursor and takes no input (transfer/okno/OczekiwanieZKlepsydra.h), so the windows keep
// repainting through long transfers; pixo-kasa shows its progress line on the terminal.
//
// A name or line longer than 255 bytes cannot be handed over; that is a fault of the program
// and raises BladProgramu.
class BibliotekiKasy : public LaczeKasy {
public:
    // How the program waits for a call: it runs `wywolanie` (on any thread) and returns its
    // result, showing `postep` meanwhile if it likes. `postep` holds the operation's name
    // before the call starts and its counts change while it runs.
    using Oczekiwanie = std::function<std::uint8_t(const std::function<std::uint8_t()>& wywolanie,
                                                   const PostepPracy& postep)>;

    // Registers for the protocol library's progress reports when the library has them.
    explicit BibliotekiKasy(Oczekiwanie oczekiwanie);
    ~BibliotekiKasy() override;
    BibliotekiKasy(const BibliotekiKasy&) = delete;
    BibliotekiKasy& operator=(const BibliotekiKasy&) = delete;

    // Whether the loaded protocol library reports progress, and the counts of the operation
    // running now (or run last).
    bool zPostepem() const { return m_ustawPostep != nullptr; }
    const PostepPracy& postep() const { return m_postep; }

    std::uint8_t ODefKlaw(const QString& wejscie, const QString& wyjscie) override;
    std::uint8_t ZDefKlaw(const QString& plik) override;
    std::uint8_t KDefKlaw(const QString& lista) override;
    std::uint8_t TowarMax(const QString& wejscie, const QString& wyjscie) override;
    std::uint8_t OPlat(const QString& wejscie, const QString& wyjscie) override;
    std::uint8_t OWaluta(const QString& wejscie, const QString& wyjscie) override;

    std::uint8_t OtwartoPlik(std::int32_t& uchwyt, const QString& nazwa,
                             std::uint8_t tryb) override;
    std::uint8_t ZapisanoDoPlikuLinie(std::int32_t uchwyt, const QByteArray& linia) override;
    std::uint8_t ZamknieciePliku(std::int32_t& uchwyt) override;

    void UnInitializePort() override;
    std::uint8_t InitializePort(std::uint8_t port, std::uint16_t baud, std::uint16_t timeout,
                                std::uint16_t timeout2) override;
    std::uint8_t UstawKanal(std::uint8_t kanal) override;
    std::uint8_t RSSequence(std::uint8_t rozkaz, std::uint8_t licznik, std::uint8_t licznik2,
                            Bufor& odbior, const Bufor& nadawanie) override;

    QString powodBleduPortu() const override { return m_powodBledu; }
    int bladSystemuPliku() const override { return m_bladPliku; }
    QString powodBleduKonfiguracji() const override { return m_powodKonfiguracji; }

private:
    using PowodBledu = unsigned char (*)(char*);
    // Runs a library call on the worker thread; a call that lasts shows `nazwa` and, when the
    // library reports them, the counts of `jednostka` in the progress window.
    // `powod`: the library's optional function that tells why a port did not open.
    template <typename F>
    std::uint8_t wTle(const QString& nazwa, const QString& jednostka, PowodBledu powod,
                      F&& wywolanie);

    // Takes the library's reason about KONFIG.TXT after a register operation; returns `wynik`.
    std::uint8_t poOperacjiKasy(std::uint8_t wynik);

    using UstawPostep = void (*)(void (*)(void*, unsigned, unsigned), void*);
    using BladPliku = int (*)();
    // Keeps the reason of a failed line-file call (0 after one that succeeded).
    std::uint8_t zapamietajBladPliku(std::uint8_t wynik);

    Oczekiwanie m_oczekiwanie;
    PostepPracy m_postep;
    UstawPostep m_ustawPostep = nullptr;
    PowodBledu m_powodKavrel = nullptr;
    PowodBledu m_powodSevrin = nullptr;
    BladPliku m_bladSystemuPliku = nullptr;
    PowodBledu m_powodKonfiguracjiKavrel = nullptr;
    QString m_powodBledu;
    int m_bladPliku = 0;
    QString m_powodKonfiguracji;
};

// A name or line as the libraries take it: the bytes (file names in the file system's
// encoding) and a zero byte, in a 256-byte buffer. Throws BladProgramu when the text does not
// fit in 255 bytes.
LaczeKasy::Bufor BuforNazwy(const QString& nazwa);
LaczeKasy::Bufor BuforLinii(const QByteArray& linia);
