#pragma once
// The label font dialog: face, size, style and the effects underline, strike-out and text
// colour, as the label edits carry them.

#include <QDialog>

#include "core/Dialogi.h"

class QFontDialog;
class QComboBox;

class OknoCzcionki : public QDialog {
    Q_OBJECT
public:
    explicit OknoCzcionki(const Czcionka& poczatkowa, QWidget* rodzic = nullptr);
    Czcionka wybrana() const;

private:
    QFontDialog* m_font;
    QComboBox* m_kolor;
};
