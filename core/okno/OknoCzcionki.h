#pragma once
// The label font dialog: face, size, style and the effects underline, strike-out and text
// colour, as the label edits carry them. It starts on the font it is given; while face, size
// and style stay as they were, that font comes back whole (with the effects as set), also
// what the dialog cannot show: the condensing of the labels' face, a size in pixels.

#include <QDialog>

#include "core/okno/Dialogi.h"

class QFontDialog;
class QComboBox;

class OknoCzcionki : public QDialog {
    Q_OBJECT
public:
    explicit OknoCzcionki(const Czcionka& poczatkowa, QWidget* rodzic = nullptr);
    Czcionka wybrana() const;

private:
    QFont m_poczatkowa;
    QFontDialog* m_font;
    QComboBox* m_kolor;
};
