#pragma once
// The maker's own Kavrel.dll and Sevrin.dll, 32-bit Windows DLLs, reached under Wine through
// the bridge pixo-most.exe (transfer/ProcesMostu.h, link/most/most.h, docs/most.md): the
// second way to the register behind LaczeKasy, chosen once at start when the working folder
// holds both DLLs (WyborBibliotek.h). Everything above LaczeKasy works as with the stand-ins.
//
// The bridge is started on the first call and serves every later one, in the folder that is
// current at its start. Wine's COM ports follow the stand-ins' rule and are brought up to date
// before every call (SrodowiskoWine.h). Calls wait as BibliotekiKasy's do: on a worker thread
// with the busy cursor in the window program, the caller's own way in pixo-kasa; making the
// prefix on first use is such a wait of its own, with its own name in the progress window.
//
// Nothing the DLLs write is half there after a failure: a register operation's output and a
// line file are written under a hidden temporary name beside the target and renamed over it
// only when the call succeeded, so whatever a DLL does when it fails, crashes or hangs, the
// older file stays as it was.
//
// Faults of the way itself come back as result codes of their own (texts in KodyBledow.cpp,
// the particulars in powodBleduPortu()): 240 Wine is not installed; 241 Wine or the bridge
// cannot be started; 242 a DLL does not load, lacks a function or has another calling
// convention than the maker's; 243 the bridge or a DLL crashed during the call; 244 the call
// did not return within UstawieniaWine::granicaWywolaniaMs and was ended. After 243 and 244
// the next call starts a fresh bridge. The line-file writer, which answers nonzero or 0,
// answers 0 for all of them.

#include <QString>
#include <map>
#include <memory>
#include <mutex>
#include <sys/types.h>
#include <thread>
#include <utility>

#include "transfer/LaczeKasy.h"
#include "transfer/ProcesMostu.h"
#include "transfer/SrodowiskoWine.h"

constexpr std::uint8_t kKodBrakWine = 240;
constexpr std::uint8_t kKodBladWine = 241;
constexpr std::uint8_t kKodZlaBiblioteka = 242;
constexpr std::uint8_t kKodAwariaBiblioteki = 243;
constexpr std::uint8_t kKodBibliotekaNieOdpowiada = 244;

class BibliotekiWine : public LaczeKasy {
public:
    struct Pliki {
        QString kavrel; // the DLLs' absolute names
        QString sevrin;
    };

    BibliotekiWine(Pliki pliki, BibliotekiKasy::Oczekiwanie oczekiwanie,
                   UstawieniaWine ustawienia = DomyslneUstawieniaWine());
    ~BibliotekiWine() override;
    BibliotekiWine(const BibliotekiWine&) = delete;
    BibliotekiWine& operator=(const BibliotekiWine&) = delete;

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

    // For 62 the DLL's own reason when it has the optional function; for 240 to 244 what
    // went wrong (which file, which function).
    QString powodBleduPortu() const override { return m_powod; }
    QString powodBleduKonfiguracji() const override { return m_powodKonfiguracji; }
    int bladSystemuPliku() const override { return m_bladPliku; }
    QString opisBibliotek() const override;

    // Starts the bridge on a thread of its own, when the prefix is ready, so that the first
    // call does not wait for it (the window program calls this at start, while its question
    // of the start-up import is shown). Nothing else; a failure is found again by that call.
    void uruchomWTle();

    // The counts of the operation running now (or run last), from the DLL's progress reports.
    const PostepPracy& postep() const { return m_postep; }
    // The bridge's process while one runs, else -1 (the tests end it to play a crash).
    pid_t pidMostu() const { return m_most.pid(); }

private:
    // A call's arguments as the framing orders them: values and handles, then buffers.
    struct Argumenty {
        std::vector<std::uint32_t> wartosci;
        std::vector<Bufor> bufory;
    };
    std::uint8_t wywolaj(pixo::most::Id id, const QString& nazwa, const QString& jednostka,
                         Argumenty& a);
    std::uint8_t wywolajWTle(pixo::most::Id id, Argumenty& a);
    std::uint8_t uruchomMost();
    std::uint8_t odpowiedzNaBlad(const ProcesMostu::Odpowiedz& o, pixo::most::Id id);
    std::uint8_t eksport(pixo::most::Id id, const QString& nazwa, const QString& jednostka,
                         const QString& wejscie, const QString& wyjscie);
    void porzucPlikiLiniowe();
    bool ma(pixo::most::Id id) const { return m_funkcje & (1u << id); }
    // The text an optional "why" function of the DLLs gives (a 256-byte buffer); empty when
    // they lack it or it has none.
    QString tekstBiblioteki(pixo::most::Id id);
    // A code of the way itself (240 to 244), not the DLL's.
    std::uint8_t bladDrogi(std::uint8_t kod) {
        m_bladDrogi = true;
        return kod;
    }

    Pliki m_pliki;
    BibliotekiKasy::Oczekiwanie m_oczekiwanie;
    UstawieniaWine m_ustawienia;
    PostepPracy m_postep;
    QString m_powod;
    QString m_powodKonfiguracji; // KONFIG.TXT's fault, as the DLL tells it
    int m_bladPliku = 0;         // the line-file call's system error, as the DLL tells it
    bool m_bladDrogi = false;    // the last call's code came from the way, not from a DLL
    std::mutex m_mutex;          // one call at a time through the bridge, nested waits included
    std::thread m_rozruch;       // uruchomWTle()
    ProcesMostu m_most;
    std::uint32_t m_funkcje = 0; // what the DLLs have, one bit per most::Id
    StanPortowWine m_porty;
    // Open line files by handle: the temporary the DLL writes and the file it becomes.
    std::map<std::int32_t, std::pair<QString, QString>> m_plikiLiniowe;
};
