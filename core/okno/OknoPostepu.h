#pragma once
// The window that shows a long operation's progress while the program waits for it: what
// runs, how much is done (a count and a bar) and the time left. It has no buttons and takes no
// input (the wait swallows it): a register operation cannot be stopped halfway.

#include <QDialog>

#include "core/PostepPracy.h"

class QLabel;
class QProgressBar;

class OknoPostepu : public QDialog {
    Q_OBJECT
public:
    OknoPostepu(const PostepPracy& postep, QWidget* rodzic = nullptr);

    // Reads the counts and shows them; called several times a second.
    void odswiez();

    QString tekstIlosci() const;
    QString tekstCzasu() const;

private:
    CzytnikPostepu m_czytnik; // timed from when the window was made
    QLabel* m_ilosc;
    QProgressBar* m_pasek;
    QLabel* m_czas;
};
