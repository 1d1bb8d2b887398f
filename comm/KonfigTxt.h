#pragma once
// KONFIG.TXT, the file through which the protocol library finds the serial connection of a
// register number, and "in", the request written beside it. One line per register:
//
//   $<register number> TAB com<port>:<baud>:mux<multiplexer>:<channel> TAB <timeout>
//
// The register operations read back only the register number from the start of the first
// line (transfer/NrKasy.h); the protocol library finds each register's own line. A save
// writes the dialog's register first and keeps the lines of the others. Widget-free.

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

// Values of the communication dialog as the file records them.
struct ParametryKomunikacji {
    int port = 1;         // 1 to 99
    int szybkosc = 9600;  // 9600, 19200, 28800 or 57600
    int multiplekser = 0; // 0 none, 1 "MUX 1"
    int kanal = 1;        // 1 to 4; recorded only with a multiplexer
    int timeout = 5;      // 1 to 1000
};

// The speeds of the dialog's "Szybkość transmisji" items 0 to 3; any other index gives 9600.
int SzybkoscZIndeksu(int indeks);

// The register number KONFIG.TXT and "in" record: the number a connection test identified in
// this run (`wartoscNrKasy` above 0), in decimal, cut to its first two characters; while none
// was identified, the number of the old file's first register line as the file writes it
// ("05" stays "05"), so that a plain save never readdresses the program; "01" when the file
// names no register 1 to 99.
QString NrKasyDoZapisu(int wartoscNrKasy, const QByteArrayList& stareLinie = {});

// The line of one register in KONFIG.TXT, without its line end (the line writer adds it).
QByteArray LiniaKonfiguracji(const QString& nrKasy, const ParametryKomunikacji& p);

// The lines a save writes: `linia`, the line of register `nrKasy`, first, then the lines of
// the old file that name another register 1 to 99, in their order. Dropped: the register's own
// older lines, empty lines, and lines the protocol library could not read, which would make it
// refuse the whole file (no "$" and register number, over 255 characters, a control byte but
// TAB).
QByteArrayList LinieKonfiguracji(const QString& nrKasy, const QByteArray& linia,
                                 const QByteArrayList& stareLinie);

// The lines of the configuration file in `katalog` (its name in any letter case), without
// their line ends; none when there is no such file. Raises BladProgramu naming the file when
// it cannot be read or is larger than the protocol library reads (64 KiB).
QByteArrayList CzytajLinieKonfiguracji(const QString& katalog = QStringLiteral("."));

// The first line of "in" ("#" and the register number as text); the other two are "#".
QByteArray LiniaNaglowkaIn(const QString& nrKasy);
