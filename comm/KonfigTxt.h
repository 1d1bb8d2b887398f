#pragma once
// KONFIG.TXT, the file through which the protocol library finds the serial connection of a
// register number, and "in", the request written beside it. The program writes one line:
//
//   $<register number> TAB com<port>:<baud>:mux<multiplexer>:<channel> TAB <timeout>
//
// The register operations read back only the register number from the start of it
// (transfer/NrKasy.h). Widget-free.

#include <QByteArray>
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

// The register number KONFIG.TXT and "in" record: "01" while no register has been
// identified, else the identified number in decimal, cut to its first two characters.
QString NrKasyDoZapisu(int wartoscNrKasy);

// The one line of KONFIG.TXT, without its line end (the line writer adds it).
QByteArray LiniaKonfiguracji(const QString& nrKasy, const ParametryKomunikacji& p);

// The first line of "in" ("#" and the register number as text); the other two are "#".
QByteArray LiniaNaglowkaIn(const QString& nrKasy);
