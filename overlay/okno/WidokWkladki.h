#pragma once
// The main window's controls that the key labels and the overlay output work with.

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class TRadioGroup;

struct WidokWkladki {
    QWidget* okno = nullptr;
    QLabel* iWkladka = nullptr;
    TRadioGroup* rgAlty = nullptr;
    TRadioGroup* Typkasy = nullptr;
    // The fourteen label edits in the order edit0, edit0a, Edit1, Edit1a ... Edit4, Edit4a,
    // Edit5, Edit6, Edit7, Edit8.
    std::array<QLineEdit*, 14> edity{};
    QComboBox* cbFunkcja = nullptr;
    QComboBox* cbPlatnosc = nullptr;
    QComboBox* cbWaluta = nullptr;
    QPushButton* Button2 = nullptr;      // "Edycja"
    QPushButton* Button1 = nullptr;      // "Układ domyślny"
    QPushButton* bbDrukuj = nullptr;     // "Wydruk"
    QPushButton* BitBtnOdczyt = nullptr; // "Odczyt z pliku" (labels)
    QPushButton* BitBtn1 = nullptr;      // "Zapis do pliku" (labels)
    QPushButton* bCzcionka = nullptr;    // "Czcionka"
};
