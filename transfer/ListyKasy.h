#pragma once
// The register's three lists as the protocol library exports them ("towary.txt", "plat.txt",
// "waluta.txt"): their names and their readers. Widget-free; the start-up import
// (transfer/okno/ImportStartowy.h) and pixo-kasa read them through these.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <optional>
#include <vector>

class QIODevice;

inline const QString kPlikTowarow = QStringLiteral("towary.txt");
inline const QString kPlikPlatnosci = QStringLiteral("plat.txt");
inline const QString kPlikWalut = QStringLiteral("waluta.txt");

// Field n (from 1) of a line whose fields are separated by `separator`: the text between the
// (n-1)-th and the n-th separator or the line end. Nothing when the line has no such field or
// the field is empty (and for n = 0).
std::optional<QByteArray> WezPole(QByteArrayView linia, int n, char separator = '\t');

// The list files. Each skips three header lines. Goods: from line 4 on, field 1 the PLU number
// ("$" as first character read as "0", blanks around allowed, no number counts as 0), field 2
// the name; numbers outside 1 to 3071 skip their line; a missing field 1, or a valid number
// with no name, ends the list. Names stay in code page 852. A read error raises BladProgramu.
void WczytajTowary(QIODevice& plik, std::vector<QByteArray>& towary);
// Payments: lines 4 to 9 are payments 1 to 6, field 2 the name; nothing for a missing name.
std::array<std::optional<QByteArray>, 6> WczytajPlatnosci(QIODevice& plik);
// Currencies: lines 4 to 11 are currencies 1 to 8, field 3 the name.
std::array<std::optional<QByteArray>, 8> WczytajWaluty(QIODevice& plik);

// The item of the goods list for PLU number `plu`: the number (three digits with leading
// zeros below 100), a blank and the name converted from code page 852.
QString PozycjaTowaru(int plu, const QByteArray& nazwa852);
