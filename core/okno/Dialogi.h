#pragma once
// Every modal interaction of the program (message boxes, questions, file, font and print
// dialogs) goes through this interface, so that each handler can be driven end to end by a
// scripted implementation in tests.

#include <QColor>
#include <QFont>
#include <QString>
#include <functional>
#include <optional>

class QWidget;
class QPrinter;

// A label font as the user picks it: the face, size and style plus the text colour.
struct Czcionka {
    QFont font;
    QColor kolor;
};

class Dialogi {
public:
    enum class Ikona { Brak, Informacja, Ostrzezenie, Blad, Pytanie };
    // Buttons of a message box; a box shows any combination, the answer is one of them.
    enum Przycisk { Ok = 1, Tak = 2, Nie = 4, Anuluj = 8 };

    struct Komunikat {
        QString tytul;
        QString tekst;
        Ikona ikona = Ikona::Brak;
        int przyciski = Ok;
    };

    struct WyborPliku {
        QString tytul;   // empty: the platform's own
        QString katalog; // starting folder
        QString nazwa;   // name offered (the dialog's last one)
        QString filtr;   // in the "Opis|*.ext|Opis|*.ext" form of the original dialogs
        QString domyslneRozszerzenie;
        bool urzadzenia = false; // device files are listed too (a serial port's, say)
    };

    virtual ~Dialogi() = default;

    // Shows a modal message box and returns the button pressed (the box's only or
    // default button when it is closed otherwise). The text is plain text, shown exactly as
    // given (a carriage return breaks the line); nothing in it is read as markup.
    virtual Przycisk komunikat(QWidget* rodzic, const Komunikat& k) = 0;
    // Returns the chosen file's path, or nothing when the user cancels.
    virtual std::optional<QString> otworzPlik(QWidget* rodzic, const WyborPliku& w) = 0;
    virtual std::optional<QString> zapiszPlik(QWidget* rodzic, const WyborPliku& w) = 0;
    virtual std::optional<Czcionka> wybierzCzcionke(QWidget* rodzic,
                                                    const Czcionka& poczatkowa) = 0;
    // Lets the user pick and set up the printer; false when the user cancels.
    virtual bool wybierzDrukarke(QWidget* rodzic, QPrinter& drukarka) = 0;
    // The print preview of the page that `rysuj` draws on the printer it is given, shown at the
    // page's physical size; from it the user may pick a printer and print, `rysuj` then drawing
    // the page on `drukarka`. True when the page was printed, false when the user closed the
    // preview without printing.
    virtual bool podgladWydruku(QWidget* rodzic, QPrinter& drukarka,
                                const std::function<void(QPrinter&)>& rysuj) = 0;

    // Shorthands for the box kinds the program uses.
    void informacja(QWidget* rodzic, const QString& tytul, const QString& tekst);
    void ostrzezenie(QWidget* rodzic, const QString& tytul, const QString& tekst);
    void blad(QWidget* rodzic, const QString& tytul, const QString& tekst);
    bool pytanie(QWidget* rodzic, const QString& tytul, const QString& tekst);
};

// Converts a filter in the "Opis|*.ext|Opis|*.ext" form into Qt's "Opis (*.ext);;..." form. The
// file dialogs show each filter by its "Opis" alone.
QString filtrQt(const QString& filtr);

// The real dialogs of the Qt toolkit.
class QtDialogi : public Dialogi {
public:
    Przycisk komunikat(QWidget* rodzic, const Komunikat& k) override;
    std::optional<QString> otworzPlik(QWidget* rodzic, const WyborPliku& w) override;
    std::optional<QString> zapiszPlik(QWidget* rodzic, const WyborPliku& w) override;
    std::optional<Czcionka> wybierzCzcionke(QWidget* rodzic, const Czcionka& poczatkowa) override;
    bool wybierzDrukarke(QWidget* rodzic, QPrinter& drukarka) override;
    bool podgladWydruku(QWidget* rodzic, QPrinter& drukarka,
                        const std::function<void(QPrinter&)>& rysuj) override;
};
