#pragma once
// The "Wygląd klawiatury" group of the main window: the key label edits over the overlay
// picture, the overlay type and label font, label files, the bitmap export and printing.

#include <QImage>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "core/okno/Dialogi.h"
#include "overlay/NapisyKlawiszy.h"
#include "overlay/PlikBitmapy.h"
#include "overlay/okno/WidokWkladki.h"

class QLineEdit;
struct StanProgramu;

class KontrolerWkladki : public QObject {
    Q_OBJECT
public:
    // The print job's title.
    static const QString kTytulWydruku;
    // The temporary export name used while printing, in the working directory.
    static const QString kPlikTymczasowy;

    KontrolerWkladki(const WidokWkladki& widok, StanProgramu& stan, Dialogi& dialogi,
                     QObject* rodzic = nullptr);

    // Selects key 0 as a left click on the top-left corner of edit0 does (set by the window).
    std::function<void()> wybierzKlawisz0;
    // Run after "Układ domyślny" cleared the labels, after the labels were read from a label
    // file and after they were written to one (set by the window, which keeps the history of
    // changes).
    std::function<void()> poUkladzieDomyslnym;
    std::function<void()> poOdczycieNapisow;
    std::function<void()> poZapisieNapisow;

    // The fourteen labels' texts and visibility in window order, and setting them so (a text
    // longer than a label takes by typing is kept whole).
    Napisy napisy() const;
    void ustawNapisy(const Napisy& napisy);

    // Fills the first lines of keys 0 to 4 (direct layer) and, on a single-Alt layer, keys 5
    // to 8 from the key definitions; `wszystkie` false fills only empty labels.
    void WypelnijNapisy(bool wszystkie);

    void TypkasyClick();      // the overlay type: picture and label colour
    void Button2Click();      // "Edycja": show all labels in the type's colour
    void Button1Click();      // "Układ domyślny": clear and hide all labels after a question
    void bCzcionkaClick();    // "Czcionka": the label font
    void BitBtn1Click();      // "Zapis do pliku": bitmap export and label file
    void BitBtnOdczytClick(); // "Odczyt z pliku": label file
    void bbDrukujClick();     // "Wydruk"
    // The print preview of exactly the page "Wydruk" prints, at its physical size; the user may
    // print from it (the printer is chosen there). The labelled bitmap is made first, as for
    // printing: the temporary label file stays and the labels keep their appended blanks.
    void podgladWydruku();

    // The last name of the export's save dialog and of the label file's open dialog.
    const QString& nazwaZapisu() const { return m_nazwaZapisu; }
    const QString& nazwaOdczytu() const { return m_nazwaOdczytu; }

private:
    void ustawCzcionkeNapisow();
    // Runs the export; false when the user cancelled or the name was refused.
    bool eksportuj();
    // The export to the temporary name, read back and the temporary bitmap deleted: the page
    // that printing sends, or nothing when the export did not run.
    std::optional<QImage> obrazWydruku();
    void ustawTekst(QLineEdit* edit, const QString& tekst);
    int typWkladki() const;

    WidokWkladki m_widok;
    StanProgramu& m_stan;
    Dialogi& m_dialogi;
    QString m_katalogStartowy;
    QString m_nazwaZapisu;
    QString m_nazwaOdczytu;
    bool m_czcionkaNapisowUstalona = false;
    // The drawing surface and the encoded bitmap file, kept between exports so that their
    // memory is not taken afresh each time.
    PlikBitmapy m_bitmapa; // the export's file, kept to start the next one from
};
