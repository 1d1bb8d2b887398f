#pragma once
// The key panel's layouts: which of the main window's controls each kind of definition shows,
// with which labels, and how a record's numbers map to the controls' entries. Widgets only, on
// the controls of a WidokPanelu (keys/okno/PanelKlawisza.h): nothing here is validated, stored or
// told to the user; PanelKlawisza does that. A kind outside the six shows as undefined.

struct TDefKlawisza;
struct WidokPanelu;
class QComboBox;
class QWidget;

// The fresh layout of kind `rodzaj` (an item of rgDefinicja): the kind's controls shown and
// every other one hidden, its labels set, the amount "0", the focus in the kind's list.
void pokazUkladRodzaju(const WidokPanelu& w, int rodzaj);
// A stored record: its kind selected and its values in that kind's controls.
void pokazRekord(const WidokPanelu& w, const TDefKlawisza& def);
// The kind undefined; the goods, payment and function lists back at their first entry, the
// goods item's three boxes cleared, and all of them hidden with the labels Label2 to Label4.
void czyscPanel(const WidokPanelu& w);

// "Procent" above the value for discount variants 1 and 2, "Kwota" for 3 and 4.
void ustawEtykieteWartosci(const WidokPanelu& w);
// Variant 1 to 4 of the discount list, the first while none is chosen.
int wariantRabatu(const WidokPanelu& w);
// The list position chosen, as the 1-based number a record stores, kept within 1..najwiekszy.
int numerWpisu(const QComboBox* lista, int najwiekszy);

// Hides a control; a control that held the focus gives it up first, so that the focus does
// not wander on to the next control (possibly a label edit, which would select its key).
void ukryjKontrolke(QWidget* kontrolka);
void skupNa(QWidget* kontrolka);
