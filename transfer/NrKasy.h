#pragma once
// The register number as the register operations take it from the configuration file
// KONFIG.TXT (written by the communication dialog): the second and third characters of its
// first line, "$<number> TAB ...". Widget-free.

#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

// The largest configuration file the protocol library reads; the program reads no larger one.
constexpr qint64 kMaksRozmiarKonfiguracji = 64 * 1024;

// The reading rule: the register number is the second and third characters of the first
// line, or the second alone when the third is below "0" (the TAB after a one-digit number, a
// line end, or the end of the line). Nothing when the line has fewer than two characters.
std::optional<QString> NrKasyZLinii(QByteArrayView pierwszaLinia);

// The configuration file in `katalog`, its name matched without regard to letter case by the
// rule every file name follows (core/OdczytPliku.h plikBezWielkosci): "KONFIG.TXT" itself
// when it exists, else the first such name in byte order, as the protocol library picks it.
// Empty when there is none, or when that name is a folder's.
QString SciezkaKonfiguracji(const QString& katalog = QStringLiteral("."));

// Takes the register number from the configuration file in `katalog`. False when there is
// no such file (the caller then asks the user to set the parameters). A file that cannot be
// read (or is no regular file, core/OdczytPliku.h), or whose first line holds no register
// number, raises BladProgramu; `nrKasy` is then left as it was.
bool WczytajNrKasy(QString& nrKasy, const QString& katalog = QStringLiteral("."));

// The register numbers of a KONFIG.TXT that lists several registers, one line each: every
// non-empty line's number by the reading rule above, in the order of the file, each once (the
// protocol library takes the first line of a number). Raises BladProgramu naming the file,
// and the line when one holds no register number 1 to 99 or runs to 4095 bytes or more, or
// when the file cannot be read.
std::vector<std::uint8_t> NumeryKasZKonfiguracji(const QString& sciezka);

// The register number as the read request names it: the text converted as a decimal integer
// (a sign allowed, "05" is 5), its low 8 bits. Nothing when the text is no number (empty when
// no register number was ever set).
std::optional<std::uint8_t> NumerKasy(const QString& nrKasy);

// What the user is told when the register number is no number: set the parameters again. The
// number's bytes show as a rejected file line shows them (control bytes, NUL too, as marks).
QString TekstZlegoNumeruKasy(const QString& nrKasy);
