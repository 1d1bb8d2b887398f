#pragma once
// The four buttons under "Definicje klawiszy": reading the key definitions from the register
// or a file, writing them to the register or a file, and deleting them in the register.
//
// What each leaves behind:
// - A read replaces the whole table only when the file (or the register's answer) was read to
//   its end; a rejected line, a file that cannot be opened or a failed register call leave
//   the table, the editor panel and the labels as they were.
// - A write never changes the table; its file is written whole or not at all, and the
//   register is given only a whole file.
// - A delete clears the kinds only once the register has reported success.
// Register calls store their result in NrBledu; every failure is told to the user in Polish.

#include <QString>
#include <functional>

class Dialogi;
class LaczeKasy;
class QWidget;
struct StanProgramu;

// What the operations need of the main window.
struct WidokDefinicji {
    QWidget* okno = nullptr; // parent of every box and dialog
    // Shows the communication dialog modally; returns when it is closed.
    std::function<void()> otworzOknoKomunik;
    // Sets the Alt-layer group's item as a click does (it then selects key 0 of that layer).
    std::function<void(int warstwa)> ustawWarstwe;
    // Selects key 0 on the current layer as a left click on edit0's top left corner does.
    std::function<void()> wybierzKlawisz0;
    // Refills all key labels from the definitions.
    std::function<void()> wypelnijNapisy;
    // Run once the table holds what a file or the register holds: after a read (the labels
    // refilled) or a delete, and after a save to a file or a write to the register.
    std::function<void()> wczytano;
    std::function<void()> zapisano;
};

class DefinicjeKlawiszy {
public:
    // The open and save dialogs start in the working directory of the moment this is made.
    DefinicjeKlawiszy(const WidokDefinicji& widok, StanProgramu& stan, Dialogi& dialogi,
                      LaczeKasy& lacze);

    // "Odczyt z kasy" (any sender but bOdczytPlik) and "Odczyt z pliku" (bOdczytPlik).
    void bOdczytClick(const QString& nadawca);
    // "Zapis do kasy" (any sender but bZapisPlik) and "Zapis do pliku" (bZapisPlik).
    void bZapisClick(const QString& nadawca);
    // "Kasowanie": deletes all 28 definitions in the register after a question.
    void bKasowanieClick();

    // Loads a key-definition file into the table and refreshes the view; false (the user
    // told why, nothing changed) when the file cannot be opened or has a bad line.
    bool wczytajPlik(const QString& sciezka);
    // The register read: the register's definitions through "klawisz.txt" into the table.
    // False when the register or the file failed (the user told why, nothing changed).
    bool odczytajZKasy();

private:
    // The register number from the configuration file into `nr`; without the file the user is
    // told `brakKonfiguracji` and the communication dialog opens, `nr` then taken from NrKasy.
    // False (the user told why) when the file cannot be read.
    bool wezNrKasy(QString& nr, const QString& brakKonfiguracji);
    void zapisz(bool doPliku);
    void blad(const QString& tekst);
    void informacja(const QString& tekst);

    WidokDefinicji m_widok;
    StanProgramu& m_stan;
    Dialogi& m_dialogi;
    LaczeKasy& m_lacze;
    QString m_katalogStartowy;
    QString m_nazwaOdczytu; // the open dialog's last name
    QString m_nazwaZapisu;  // the save dialog's last name
};
