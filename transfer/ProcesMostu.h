#pragma once
// The bridge pixo-most.exe as a child process: started under Wine with its standard input and
// output as pipes, its calls made and answered in the framing of link/most/most.h. Plain C++
// and POSIX, no Qt; one caller at a time, on any thread (the caller waits in its own way).
//
// Every wait has a bound. What the bridge sends is checked against the framing: anything else
// counts as the bridge gone. A bridge that is gone, faulty or out of time is ended (SIGKILL
// after a moment); the object can then start a new one.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

#include "link/most/most.h"

class ProcesMostu {
public:
    enum class Stan {
        Ok,
        Blad,       // the bridge reported a fault ('B'): see `blad`
        Zakonczony, // the bridge ended, or sent what the framing does not allow
        PozaCzasem  // no answer within the bound; the bridge has been ended
    };
    struct Odpowiedz {
        Stan stan = Stan::Ok;
        std::uint8_t wynik = 0;    // the call's one-byte result (Ok)
        std::uint32_t wartosc = 0; // the whole result, for a function whose result is an int
        pixo::most::Blad blad = pixo::most::Blad::Awaria;
        pixo::most::Biblioteka biblioteka = pixo::most::Biblioteka::Kavrel;
        std::uint8_t funkcja = pixo::most::kBezFunkcji;
        std::uint32_t szczegol = 0;
        std::string zakonczenie; // Zakonczony: how the process ended ("kod wyjścia 3", "sygnał 9")
    };

    ProcesMostu() = default;
    ProcesMostu(const ProcesMostu&) = delete;
    ProcesMostu& operator=(const ProcesMostu&) = delete;
    ~ProcesMostu() { zatrzymaj(); }

    // Starts `argumenty` (the program first) in `folder` with exactly the environment
    // `srodowisko` ("NAME=value"), its standard error appended to the file `dziennik` (which
    // is emptied first when it has grown over 1 MiB). False
    // with the system's reason in `blad` when it cannot be started.
    bool uruchom(const std::vector<std::string>& argumenty,
                 const std::vector<std::string>& srodowisko, const std::string& folder,
                 const std::string& dziennik, std::string& blad);
    bool dziala() const { return m_pid > 0; }
    // Read from any thread (the tests end the bridge while a call waits).
    pid_t pid() const { return m_pid; }

    // The ready frame, within `ms`: Ok with the mask of the functions the DLLs have.
    Odpowiedz czekajNaGotowosc(int ms, std::uint32_t& maska);

    // One call of `id`: `argumenty` are the call frame's bytes after its first two, `wynik`
    // gets the result frame's bytes after the result. Progress reports meanwhile go to
    // `postep` (done, total). After anything but Ok or a Konwencja fault the bridge is gone.
    Odpowiedz wywolaj(pixo::most::Id id, const std::vector<std::uint8_t>& argumenty,
                      std::vector<std::uint8_t>& wynik,
                      const std::function<void(unsigned, unsigned)>& postep, int ms);

    // Closes the bridge's input, which ends it; one that does not end within a moment is
    // killed. Nothing when none runs.
    void zatrzymaj();

private:
    enum class Czytanie { Ok, Koniec, Czas };
    Czytanie czytaj(std::uint8_t* cel, std::size_t n, long long terminMs);
    Odpowiedz koniec(Stan stan);
    void zabij();

    std::atomic<pid_t> m_pid{-1};
    int m_wejscie = -1; // the bridge's standard input, written here
    int m_wyjscie = -1; // its standard output, read here
};

// Runs a program to its end, its output appended to `dziennik`: the exit status, or -1 when
// it could not be started or outlasted `ms` (it is then killed).
int WykonajProgram(const std::vector<std::string>& argumenty,
                   const std::vector<std::string>& srodowisko, const std::string& folder,
                   const std::string& dziennik, int ms);
