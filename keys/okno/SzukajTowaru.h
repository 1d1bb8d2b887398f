#pragma once
// Finding a goods item from the keyboard. Ctrl+F in the main window while the goods list
// cbTowary is shown opens a field over the list; what is typed there (a PLU number or part
// of a name, matched as WyszukiwanieTowarow.h says) lists the matching items under it.
// Up, Down, Page Up and Page Down move in that list; Enter or a click picks the item, which
// cbTowary then shows as if it had been chosen there with the mouse, and the keyboard focus
// goes back to cbTowary. Escape, or leaving the field, closes it and changes nothing.
// Characters typed into cbTowary itself are still discarded; this is a separate way in.

#include <QObject>
#include <QStringList>
#include <vector>

#include "keys/WyszukiwanieTowarow.h"

class QComboBox;
class QLineEdit;
class QListView;
class QStringListModel;
class QWidget;

class SzukajTowaru : public QObject {
    Q_OBJECT
public:
    // The field and its list are children of `okno`, laid over cbTowary and the controls
    // under it.
    SzukajTowaru(QComboBox* cbTowary, QWidget* okno);

    // Opens the field (when cbTowary is shown) with the keyboard focus in it.
    void otworz();
    bool otwarte() const;

    QLineEdit* pole() const { return m_pole; }
    // Made with the first matches to list (none before: the first screen does not show it).
    QListView* wyniki() const { return m_wyniki; }
    // The goods list's item indices of the matches listed, in their order.
    const std::vector<int>& trafienia() const { return m_trafienia; }

protected:
    bool eventFilter(QObject* obiekt, QEvent* zdarzenie) override;

private:
    QListView* listaWynikow();
    void szukaj(const QString& tekst);
    void przesun(int oIle);
    void wybierz(int wiersz);
    void zamknij();
    void oddajFokus();

    QComboBox* m_lista;
    QWidget* m_okno;
    QLineEdit* m_pole;
    QListView* m_wyniki = nullptr;
    QStringListModel* m_model;
    QStringList m_pozycje; // the goods list's items the index was built from
    IndeksTowarow m_indeks;
    std::vector<int> m_trafienia;
};
