#pragma once
// Dialogs answered from a script, for tests: every box shown is recorded, and every answer
// is taken from a queue filled by the test beforehand. A dialog shown with no answer queued
// is recorded as unexpected and answered with cancel (or the box's default button).

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "core/okno/Dialogi.h"

class SkryptDialogi : public Dialogi {
public:
    struct Pokazany {
        enum class Rodzaj { Komunikat, OtworzPlik, ZapiszPlik, Czcionka, Drukarka, Podglad } rodzaj;
        Komunikat komunikat; // for message boxes
        WyborPliku plik;     // for file dialogs
        Czcionka czcionka;   // for the font dialog: the font it starts on
    };

    // Answers, consumed in order per kind of dialog.
    std::deque<Przycisk> odpowiedzi;                     // message boxes with a choice
    std::deque<std::optional<QString>> pliki;            // open and save dialogs
    std::deque<std::optional<Czcionka>> czcionki;        // font dialog
    std::deque<std::function<bool(QPrinter&)>> drukarki; // print dialog: sets up the printer
    // Print preview: gets the page's drawing, draws it wherever it likes, tells whether the
    // user printed (having then drawn it on the printer given).
    using Podglad = std::function<bool(QPrinter&, const std::function<void(QPrinter&)>&)>;
    std::deque<Podglad> podglady;

    std::vector<Pokazany> pokazane;
    QStringList nieoczekiwane; // dialogs shown with no answer queued

    Przycisk komunikat(QWidget* rodzic, const Komunikat& k) override;
    std::optional<QString> otworzPlik(QWidget* rodzic, const WyborPliku& w) override;
    std::optional<QString> zapiszPlik(QWidget* rodzic, const WyborPliku& w) override;
    std::optional<Czcionka> wybierzCzcionke(QWidget* rodzic, const Czcionka& poczatkowa) override;
    bool wybierzDrukarke(QWidget* rodzic, QPrinter& drukarka) override;
    bool podgladWydruku(QWidget* rodzic, QPrinter& drukarka,
                        const std::function<void(QPrinter&)>& rysuj) override;

    // Texts of the message boxes shown so far, in order.
    QStringList teksty() const;
    // The last message box shown (an empty one when none was).
    Komunikat ostatni() const;
    void wyczysc();
};
