#pragma once
// A key definition in words, as the editor panel shows it: the kind as rgDefinicja names it,
// the chosen entry of the kind's list, the check boxes ticked and the amount with a comma.
// For programs without the window (pixo-kasa), which read the panel's lists from the main
// window's own form, so that there is one list of functions, payments and the rest: the form.
// Widget-free.

#include <QString>
#include <QStringList>

#include "keys/TabelaKlawiszy.h"

class QIODevice;

// The panel's lists and captions, by position (entry n of a list is number n + 1).
struct ListyPanelu {
    QStringList rodzaje;   // rgDefinicja: "NIEZDEF.", "1 - TOWAR" ... "5 - RABAT/NARZUT"
    QStringList funkcje;   // cbFunkcja
    QStringList platnosci; // cbPlatnosc
    QStringList waluty;    // cbWaluta
    QStringList warianty;  // cbRabatNarzut
    QStringList zakresy;   // cbRodzaj
    // The goods key's check boxes: cbPojedynczo, cbZaplata, cbParagon.
    QString pojedynczo, zaplata, paragon;
};

// Reads the lists from a Qt Designer form holding the panel's controls (app/TForm3.ui). Raises
// BladProgramu naming the control when one of them is missing or the form is no XML.
ListyPanelu CzytajListyPanelu(QIODevice& formularz);

// "3 - PŁATNOŚĆ: GOTÓWKA, kwota 12,50 zł", "1 - TOWAR: PLU 500, sprzedaż jednej sztuki",
// "NIEZDEF.". Runs of blanks in the entries are shown as one; a number outside its list is
// shown as the number.
QString OpisDefinicji(const TDefKlawisza& def, const ListyPanelu& listy);
