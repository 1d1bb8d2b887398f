#pragma once
// Key selection on the overlay picture and the key definition editor panel.

#include <QObject>
#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class TRadioGroup;
class Dialogi;
struct StanProgramu;

// The main window's controls that the panel works with.
struct WidokPanelu {
    QWidget* okno = nullptr;
    QLabel* iWkladka = nullptr;
    TRadioGroup* rgAlty = nullptr;
    TRadioGroup* rgDefinicja = nullptr;
    QComboBox* cbTowary = nullptr;
    QComboBox* cbFunkcja = nullptr;
    QComboBox* cbPlatnosc = nullptr;
    QComboBox* cbWaluta = nullptr;
    QComboBox* cbRabatNarzut = nullptr;
    QComboBox* cbRodzaj = nullptr;
    QCheckBox* cbPojedynczo = nullptr;
    QCheckBox* cbZaplata = nullptr;
    QCheckBox* cbParagon = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Klawisz = nullptr;
    QLabel* lKlawisz = nullptr;
    QLineEdit* Edit10 = nullptr;
    QPushButton* Button5 = nullptr;
    // First label line of keys 0 to 8 (edit0, Edit1 ... Edit8) and second line of keys 0 to 4.
    std::array<QLineEdit*, 9> pierwszeLinie{};
    std::array<QLineEdit*, 5> drugieLinie{};
};
