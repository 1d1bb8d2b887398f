#pragma once
// What pixo-kasa reports: for each register one result line on standard output as soon as the
// register is done, or, with --json, one JSON document at the end for machines. Widget-free.

#include <QByteArray>
#include <QJsonArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdio>
#include <vector>

// One key whose definition differs: its name as the window program's panel shows it, the two
// definition lines as the key-definition file writes them, without the key code, and the two
// definitions in words as the panel shows them (keys/OpisDefinicji.h).
struct RoznicaKlawisza {
    QString klawisz;
    QByteArray wPliku;
    QByteArray wKasie;
    QString opisWPliku;
    QString opisWKasie;
};

// How one register's work ended.
struct WynikKasy {
    int kasa = 0;
    std::uint8_t kod = 0; // the library's result code; 0 when it succeeded
    QString powod;        // why, when the library tells: KONFIG.TXT (7, 13 to 16), else the link's
                          // particulars (why the port did not open, what Wine said)
    QString blad;         // a failure on the program's side (a file it could not write)
    QStringList pliki;    // files written, named as the user named their folder
    bool porownanie = false; // porownaj: `roznice` holds the differences
    std::vector<RoznicaKlawisza> roznice;

    bool udany() const { return kod == 0 && blad.isEmpty(); }
};

// A register's number as every line and file name of pixo-kasa writes it: "03".
QString NumerKasyTekstem(int kasa);

// The one result line of a register, without its line end: "kasa 03: OK", "kasa 03: błąd 21:
// Wystąpił timeout odbierania." (the message's first line; the rest speaks of the window
// program's buttons), "kasa 03: zgodna z plikiem".
QString LiniaWyniku(const WynikKasy& w);

class RaportKasy {
public:
    RaportKasy(const QString& polecenie, bool json, std::FILE* wyjscie)
        : m_polecenie(polecenie), m_json(json), m_wyjscie(wyjscie) {}

    // A register done: its line (and for porownaj one line per differing key) goes out now.
    void wynik(const WynikKasy& w);
    // A failure before any register was reached; nothing is sent after it.
    void blad(const QString& tekst);
    // With --json, the document; call once at the end.
    void zakoncz();
    // Whether writing to the output failed (its reader gone): told once on standard error,
    // nothing more is written.
    bool wyjscieZamkniete() const { return m_zamkniete; }

private:
    void pisz(const QString& tekst);

    QString m_polecenie;
    bool m_json;
    std::FILE* m_wyjscie;
    QJsonArray m_kasy;
    QString m_blad;
    bool m_udany = true;
    bool m_zamkniete = false;
};
