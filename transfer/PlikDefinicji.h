#pragma once
// The key-definition file and the two small files for the protocol library that share its
// header: the read request and the delete list. Widget-free.
//
// A key-definition file is single-byte text with CR LF line ends: three header lines
// ("#<register number>", "#", "#"), then one TAB-separated line per key position,
//
//   $<key code> TAB <line type> [TAB <field>]...
//
// line type 0 undefined; 1 goods: PLU, one piece, price entry, end of receipt; 2 function:
// number and a closing TAB; 3 payment or currency: number, amount in hundredths, 0 payment /
// 1 currency; 4 percent and 5 amount discount or markup: 0 discount / 1 markup, value, item
// line 0/1, whole receipt 0/1. The writer lists all 28 positions in a fixed order; the reader
// takes them in any order, the later of two lines for one key winning.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <optional>

#include "keys/TabelaKlawiszy.h"
#include "transfer/TekstPliku.h"

class QIODevice;

// Fixed names in the working directory: the register's key definitions as last read or
// written, the read request and the delete list.
inline const QString kPlikKlawiszy = QStringLiteral("klawisz.txt");
inline const QString kPlikWejsciowy = QStringLiteral("123.@#$");
inline const QString kListaKasowania = QStringLiteral("tmp.plk");

// Field n (from 1) of a TAB-separated line: the text after the (n-1)-th TAB up to the next TAB
// or the end of the line. Empty when the line has fewer fields (and for n = 0).
QByteArray PoleLinii(std::uint8_t n, QByteArrayView linia);

// The three header lines, each ending CR LF; the first is "#" and the register number.
QByteArray NaglowekPliku(QByteArrayView nrKasy);

// One definition line (without its line end) for the key with code `kod`.
QByteArray LiniaDefinicji(std::uint8_t kod, const TDefKlawisza& def);

// The whole file: the header with `nrKasy` (its characters as bytes) and the 28 positions:
// for keys 0 to 8 the direct line (keys 0-4), the left-Alt line, the right-Alt line, the
// both-Alts line (keys 0-4). Codes come from the key code tables, never from a record's Kod.
QByteArray TekstPlikuDefinicji(const TabelaKlawiszy& tabela, const QString& nrKasy);

// The read request: the header alone, the register number written in decimal.
QByteArray TekstZadaniaOdczytu(std::uint8_t nrKasy);

// The delete list: the header with `nrKasy`, then "$<code>" for all 28 positions, layer by
// layer: direct, right Alt, left Alt, both Alts, each in key order.
QByteArray TekstListyKasowania(const QString& nrKasy);

// Writes the read request; false when the file could not be written whole (an older file of
// that name is then left as it was). Never raises an error.
bool UtworzPlikWejsciowy(const QString& nazwa, std::uint8_t nrKasy);

// One definition line as the reader takes it: the record it stands for, its key code in Kod
// (the number after the first character of field 1). Nothing when the line is rejected: field
// 1 shorter than two characters or no number after its first character, a line type that is
// no number or outside 0 to 5, a field the type uses missing or no number, a number beyond 32
// bits, a key code or goods number outside 0 to 65535, a goods flag or a scope flag other
// than 0 or 1, a function number outside 0 to 40, a payment or currency number outside 0 to
// 8, a negative amount, a line over 255 characters.
std::optional<TDefKlawisza> CzytajLinieDefinicji(QByteArrayView linia);

// What reading a whole file gave: the table, or the first rejected line's text and its number
// in the file (from 1; 0 while no line was rejected); and the file's first line, as read.
struct OdczytDefinicji {
    TabelaKlawiszy tabela;
    std::optional<QByteArray> zlaLinia;
    int numerZlejLinii = 0;
    QByteArray pierwszaLinia;
};

// A rejected line as a message shows it: code page 1250 text, control bytes (a binary file, a
// NUL) as replacement marks so that the whole line is seen.
QString TekstZlejLinii(const QByteArray& linia);

// Reads a key-definition file from `plik` into a copy of `poprzednia` whose kinds are all
// cleared first; only the positions the file names get new records. Lines end with CR LF, LF
// or a bare CR. Stops at the first rejected line; a line over 255 characters is given back
// cut to 255. The header lines are not looked at, but must not be over 255 characters either,
// and a file that ends before its third line is rejected with an empty line, the missing one.
OdczytDefinicji CzytajDefinicje(QIODevice& plik, const TabelaKlawiszy& poprzednia);
// A key-definition file larger than this is refused unread: the register's own hold 28 lines.
constexpr qint64 kMaksPlikuDefinicji = 1024 * 1024;
// The same from a named file, read through core/OdczytPliku.h; raises BladProgramu (naming
// the file and the reason, in Polish) when it cannot be opened or is no regular file.
OdczytDefinicji CzytajPlikDefinicji(const QString& sciezka, const TabelaKlawiszy& poprzednia);

// Writes the key-definition file whole or not at all; raises BladProgramu naming the file
// and the reason when it cannot be written (an older file is then left as it was).
void ZapiszPlikDefinicji(const QString& sciezka, const TabelaKlawiszy& tabela,
                         const QString& nrKasy);
// Writes the delete list, likewise.
void ZapiszListeKasowania(const QString& sciezka, const QString& nrKasy);
