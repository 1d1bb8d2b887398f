#pragma once
// The start-up import: once per run, the program asks whether to read the goods base, the
// payments, the currencies and the key definitions from the register; on "Tak" the protocol
// library exports them into "towary.txt", "plat.txt" and "waluta.txt"; then, also after
// "Nie", whichever of these files exist (from this run or an earlier one) are loaded into the
// goods list and the editor's lists; the files are found in any letter case. After a
// confirmed and successful export the key definitions are read last, once the lists are in
// place, so that the panel and the labels show them with the names just loaded.
//
// What a failure leaves behind: a failed export leaves every older list file whole (the
// library never touches one on failure), the lists on disk are loaded as after "Nie", and the
// key definitions are not read. "123.@#$" never outlives the import.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>
#include <vector>

class Dialogi;
class LaczeKasy;
class QIODevice;
class QWidget;
struct StanProgramu;

inline const QString kPlikTowarow = QStringLiteral("towary.txt");
inline const QString kPlikPlatnosci = QStringLiteral("plat.txt");
inline const QString kPlikWalut = QStringLiteral("waluta.txt");

// Field n (from 1) of a line whose fields are separated by `separator`: the text between the
// (n-1)-th and the n-th separator or the line end. Nothing when the line has no such field or
// the field is empty (and for n = 0).
std::optional<QByteArray> WezPole(QByteArrayView linia, int n, char separator = '\t');

// The list files, widget-free. Each skips three header lines. Goods: from line 4 on, field 1
// the PLU number ("$" as first character read as "0", blanks around allowed, no number counts
// as 0), field 2 the name; numbers outside 1 to 3071 skip their line; a missing field 1, or a
// valid number with no name, ends the list. Names stay in code page 852.
void WczytajTowary(QIODevice& plik, std::vector<QByteArray>& towary);
// Payments: lines 4 to 9 are payments 1 to 6, field 2 the name; nothing for a missing name.
std::array<std::optional<QByteArray>, 6> WczytajPlatnosci(QIODevice& plik);
// Currencies: lines 4 to 11 are currencies 1 to 8, field 3 the name.
std::array<std::optional<QByteArray>, 8> WczytajWaluty(QIODevice& plik);

// The item of the goods list for PLU number `plu`: the number (three digits with leading
// zeros below 100), a blank and the name converted from code page 852.
QString PozycjaTowaru(int plu, const QByteArray& nazwa852);

// What the import needs of the main window.
struct WidokImportu {
    QWidget* okno = nullptr;
    std::function<void()> otworzOknoKomunik; // modal communication dialog
    std::function<void()> odswiez;           // repaints the main window
    std::function<void()> odczytajDefinicje; // "Odczyt z kasy", run to its end
    // The goods list's items (item i for PLU i + 1), item 0 selected.
    std::function<void(const QStringList&)> ustawTowary;
    std::function<void(int pozycja, const QString&)> ustawPlatnosc; // cbPlatnosc item 1 to 6
    std::function<void(int pozycja, const QString&)> ustawWalute;   // cbWaluta item 0 to 7
};

// The import itself. Errors while reading the list files (core/OdczytPliku.h: a FIFO, a
// device, a huge file too) raise BladProgramu; every register failure is told to the user.
void ImportStartowy(const WidokImportu& widok, StanProgramu& stan, Dialogi& dialogi,
                    LaczeKasy& lacze);
