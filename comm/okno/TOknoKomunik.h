#pragma once
// The dialog "Parametry komunikacji": the serial port, multiplexer and channel, speed and
// timeout through which the register is reached. "Zapisz" writes them to KONFIG.TXT (and the
// request file "in") through the protocol library's line writer; "Połącz" tests the
// connection, identifies the register and, when it is a TALMO PIXO E, saves by itself.
//
// Created once at start-up and only shown and hidden afterwards: the controls keep what the
// user chose for the whole run. The dialog never loads its values from KONFIG.TXT; a save
// reads the file only for the lines of other registers and, when no test identified one in
// this run, the register number it holds.

#include <QByteArray>
#include <QDialog>
#include <QList>
#include <QString>

#include "comm/KonfigTxt.h"

class Dialogi;
class LaczeKasy;
struct StanProgramu;

namespace Ui {
class TOknoKomunik;
}

class TOknoKomunik : public QDialog {
    Q_OBJECT
public:
    TOknoKomunik(StanProgramu& stan, Dialogi& dialogi, LaczeKasy& lacze, QWidget* rodzic = nullptr);
    ~TOknoKomunik() override;

    Ui::TOknoKomunik* ui;

    // "Zapisz": records the register number and the dialog's values in "in" and KONFIG.TXT
    // (the register's line first, other registers' lines kept) and closes the dialog. When a
    // file cannot be read or written the user is told which and why, and the dialog stays open.
    void KlawZapisClick();
    // "Anuluj": closes without saving; the controls keep their values.
    void KlawEscClick();
    // The channel can be chosen only with a multiplexer.
    void GrupaMuxClick();
    // "Połącz": runs the connection test and reports it; a TALMO PIXO E is saved at once.
    void KlawPolaczClick();

    // The test itself: opens the port with the dialog's values, selects the channel, asks the
    // register for its model and number and closes the port. Returns the model code as two
    // digits followed by the register number ("0901"), or empty when the test failed (the
    // user has then been told why). Leaves KodModelu, WartoscNrKasy and NrKasy set.
    QString TestPolaczenia();

    // Model code of the last test (0 when it found none).
    int KodModelu() const { return m_kodModelu; }

    // The values the controls hold now.
    ParametryKomunikacji parametry() const;

protected:
    void showEvent(QShowEvent* e) override;

private:
    bool zapiszPlikLiniowy(const QString& nazwa, const QList<QByteArray>& linie);
    // zapiszPlikLiniowy, telling the user on failure.
    bool zapisz(const QString& nazwa, const QList<QByteArray>& linie);
    void zglosNieZapisano(const QString& powod);
    QString tytulAplikacji() const;

    StanProgramu& m_stan;
    Dialogi& m_dialogi;
    LaczeKasy& m_lacze;
    int m_kodModelu = 0;
};
