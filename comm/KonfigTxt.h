#pragma once
// KONFIG.TXT, the file through which the protocol library finds the serial connection of a
// register number, and "in", the request written beside it. The program writes one line:
//
//   $<register number> TAB com<port>:<baud>:mux<multiplexer>:<channel> TAB <timeout>
//
// and reads back only the register number from the start of it. Widget-free.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

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

// The reading rule: the register number is the second and third characters of the first
// line, or the second alone when the third is below "0" (the TAB after a one-digit number, a
// line end, or the end of the line). Nothing when the line has fewer than two characters.
std::optional<QString> NrKasyZLinii(QByteArrayView pierwszaLinia);

// The configuration file in `katalog`, its name matched without regard to letter case:
// "KONFIG.TXT" itself when it exists, else the first such name in byte order (as the
// protocol library picks it). Empty when there is none.
QString SciezkaKonfiguracji(const QString& katalog = QStringLiteral("."));

// Takes the register number from the configuration file in `katalog`. False when there is
// no such file (the caller then asks the user to set the parameters). A file that cannot be
// read, or whose first line holds no register number, raises BladProgramu; `nrKasy` is then
// left as it was.
bool WczytajNrKasy(QString& nrKasy, const QString& katalog = QStringLiteral("."));
