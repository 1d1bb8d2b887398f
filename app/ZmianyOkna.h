#pragma once
// Undo and the question on closing, in the main window; the rules are HistoriaZmian's.
//
// The window reports each change of the key table and the labels (the hooks below); a label
// typed counts when its edit is left. Ctrl+Z in the window goes back one step: the table and
// the labels whole, and the panel shows the selected key's definition again. In a text field
// Ctrl+Z first undoes the field's own typing, as everywhere; once the field has nothing left
// to undo, it goes back a step of the window. Closing the window with definitions or labels
// that were not stored asks first (Tak/Nie).

#include <QObject>

#include "app/HistoriaZmian.h"

class Dialogi;
class KontrolerWkladki;
class PanelKlawisza;
class QWidget;
struct StanProgramu;

class ZmianyOkna : public QObject {
    Q_OBJECT
public:
    // Takes the window's state as it is now as the stored one.
    ZmianyOkna(QWidget* okno, StanProgramu& stan, PanelKlawisza& panel, KontrolerWkladki& wkladka,
               Dialogi& dialogi);

    // A change of the user's was made (a confirm, the default layout).
    void zmiana();
    // The definitions were read from a file or the register, or deleted in the register.
    void wczytanoDefinicje();
    // The definitions were saved to a file or written to the register.
    void zapisanoDefinicje();
    // The labels were read from or written to a label file.
    void wczytanoNapisy();
    void zapisanoNapisy();

    // Ctrl+Z: back one step; nothing when there is none.
    void cofnij();
    // Whether the window may close: true when everything is stored, else the user's answer.
    bool moznaZamknac();

protected:
    bool eventFilter(QObject* obiekt, QEvent* zdarzenie) override;

private:
    StanEdycji stanOkna() const;

    QWidget* m_okno;
    StanProgramu& m_stan;
    PanelKlawisza& m_panel;
    KontrolerWkladki& m_wkladka;
    Dialogi& m_dialogi;
    HistoriaZmian m_historia;
    bool m_klawiszPokazany = true; // the panel shows a key (not after a click outside all)
};
