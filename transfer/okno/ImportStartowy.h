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

#include <QString>
#include <QStringList>
#include <functional>

#include "transfer/ListyKasy.h"

class Dialogi;
class LaczeKasy;
class QWidget;
struct StanProgramu;

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
