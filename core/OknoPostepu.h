#pragma once
// The window that shows a long operation's progress while the program waits for it: what
// runs, how much is done (a count and a bar) and the time left. It has no buttons and takes no
// input (the wait swallows it): a register operation cannot be stopped halfway.

#include <QDialog>
#include <QElapsedTimer>

struct PostepPracy;
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
    const PostepPracy& m_postep;
    QLabel* m_ilosc;
    QProgressBar* m_pasek;
    QLabel* m_czas;
    QElapsedTimer m_zegar;   // since the window was made
    unsigned m_pierwsze = 0; // the first count seen and when, the rate's starting point
    qint64 m_msPierwszego = -1;
};
