#pragma once
// The device picker beside the port number of the communication dialog: a button whose list
// holds the machine's serial devices, made each time the list opens (never with the dialog,
// whose opening it must not slow down), and a line under the settings saying where the port
// shown leads now. Picking a device links the working folder's "comN" of that port number to
// it (comm/UrzadzeniaSzeregowe.h); a refusal (a device the user may not open, a "comN" that is
// not a link) is shown in an error box and changes nothing.

#include <QObject>
#include <functional>
#include <vector>

#include "comm/UrzadzeniaSzeregowe.h"

class Dialogi;
class QLabel;
class QMenu;
class QSpinBox;
class QToolButton;

class WyborPortu : public QObject {
    Q_OBJECT
public:
    using Lista = std::function<std::vector<UrzadzenieSzeregowe>()>;

    // Works in the current folder, the program's working folder.
    WyborPortu(QSpinBox* port, QToolButton* przycisk, QLabel* opis, Dialogi& dialogi,
               Lista lista = UrzadzeniaSystemu, QObject* rodzic = nullptr);

    // Links the port shown to `urzadzenie`; false (and the reason told) when refused.
    bool wybierz(const QString& urzadzenie);
    // "Inne urządzenie...": a device file named in the open dialog, such as the emulator's
    // terminal, which no device list shows.
    void wybierzInne();
    // The line under the settings, for the port shown; also run when the dialog is shown.
    void odswiezOpis();

protected:
    bool eventFilter(QObject* obiekt, QEvent* zdarzenie) override;

private:
    void wypelnijMenu();

    QSpinBox* m_port;
    QLabel* m_opis;
    QMenu* m_menu;
    Dialogi& m_dialogi;
    Lista m_lista;
};
