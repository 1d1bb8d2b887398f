#pragma once
// Progress of a long operation that runs on a worker thread: the worker (a register library's
// progress function) writes the counts, the waiting GUI thread reads them several times a
// second and shows them. The texts shown are built here, widget-free.

#include <QElapsedTimer>
#include <QString>
#include <atomic>
#include <optional>

struct PostepPracy {
    QString nazwa;     // what runs, e.g. "Odczyt bazy towarowej z kasy"; set before the work
    QString jednostka; // what is counted, e.g. "towarów"; empty when nothing is
    std::atomic<unsigned> zrobione{0};
    std::atomic<unsigned> calosc{0}; // 0 while not known

    void zacznij(const QString& n, const QString& j) {
        nazwa = n;
        jednostka = j;
        zrobione = 0;
        calosc = 0;
    }
};

// "1234 z 3071 towarów"; empty while the total is not known.
QString TekstPostepu(unsigned zrobione, unsigned calosc, const QString& jednostka);

// Seconds left at the rate seen so far: `zrobionePrzed` items at `msPrzed`, `zrobione` at
// `msTeraz` (both counted from the same start). Nothing while the rate cannot be told (no item
// or no time between the two points, or no total).
std::optional<int> PozostaloSekund(unsigned zrobionePrzed, qint64 msPrzed, unsigned zrobione,
                                   qint64 msTeraz, unsigned calosc);

// "Pozostało ok. 12 s", "Pozostało ok. 2 min 05 s", or "Pozostały czas: obliczanie..."
QString TekstPozostalo(std::optional<int> sekundy);

// What a display of `postep` shows at one moment. The rate for the time left is taken from the
// first reading that knew the total, so the connection's set-up does not count as slowness.
struct StanPostepu {
    unsigned zrobione = 0; // never above the total
    unsigned calosc = 0;   // 0 while not known
    QString ilosc;         // TekstPostepu; empty while the total is not known
    QString czas;          // TekstPozostalo, or "Czas: 7 s" since the start while no total is known
};

// Reads one operation's counts for a display refreshed several times a second; made when the
// operation starts.
class CzytnikPostepu {
public:
    explicit CzytnikPostepu(const PostepPracy& postep) : m_postep(postep) { m_zegar.start(); }
    StanPostepu odczytaj();

private:
    const PostepPracy& m_postep;
    QElapsedTimer m_zegar;
    unsigned m_pierwsze = 0; // the first count seen with a total, and when
    qint64 m_msPierwszego = -1;
};
