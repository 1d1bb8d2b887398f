#pragma once
// Key selection on the overlay picture and the key definition editor panel.

#include <QObject>
#include <array>
#include <functional>

#include "keys/TabelaKlawiszy.h"

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

// Key selection on the overlay and the editor panel of one key's definition on the current Alt
// layer. It works on the main window's controls and connects their events itself; the
// handlers are public so that the window and other operations call them by name. Which
// controls each kind shows is keys/okno/UkladPanelu.h's; the panel checks and stores.
class PanelKlawisza : public QObject {
    Q_OBJECT
public:
    PanelKlawisza(const WidokPanelu& widok, StanProgramu& stan, Dialogi& dialogi,
                  QObject* parent = nullptr);

    // Runs after a confirmed definition was stored (the window refills the empty key labels).
    std::function<void()> poZatwierdzeniu;

    // Mouse-down on the overlay picture at (x, y) in its coordinates; any button and any
    // shift state select alike.
    void iWkladkaMouseDown(Qt::MouseButton przycisk, Qt::KeyboardModifiers shift, int x, int y);
    // Selects key 0 on the current layer, as a mouse-down at the top left corner of edit0.
    void wybierzKlawisz0();
    // Shows one key's stored definition on the current layer.
    void PokazKlawisz(int klawisz);
    // Resets the parameter controls.
    void CzyscPanel();

    void rgAltyClick();
    // The layout of the kind shown in rgDefinicja.
    void rgDefinicjaClick();
    void cbRabatNarzutChange();
    void Edit10Exit();
    // "Zatwierdź": validates the panel and stores its record at (current layer, selected key).
    void Button5Click();

    // Focus entering a key's label edit shows that key.
    void edit0Enter() { PokazKlawisz(0); }
    void Edit1Enter() { PokazKlawisz(1); }
    void Edit2Enter() { PokazKlawisz(2); }
    void Edit3Enter() { PokazKlawisz(3); }
    void Edit4Enter() { PokazKlawisz(4); }
    void Edit5Enter() { PokazKlawisz(5); }
    void Edit6Enter() { PokazKlawisz(6); }
    void Edit7Enter() { PokazKlawisz(7); }
    void Edit8Enter() { PokazKlawisz(8); }

    // The current Alt layer (the item index of rgAlty) and the selected key number.
    int warstwa() const;
    int wybranyKlawisz() const;

signals:
    // A key of the current layer is now shown in the panel, or none (-1) after a click
    // outside every key.
    void zmianaWyboru(int klawisz);

protected:
    bool eventFilter(QObject* obiekt, QEvent* zdarzenie) override;

private:
    bool filtruj(QObject* obiekt, QEvent* zdarzenie);
    void komunikat(const QString& tekst);

    WidokPanelu m_widok;
    QString m_biezacaKwota, m_poprzedniaKwota; // the amount field's text now and before its change
    StanProgramu& m_stan;
    Dialogi& m_dialogi;
};
