#pragma once
// The single-instance guard: one running copy of the program per user and key. The first copy
// takes a lock (flock on a file in the user's private runtime folder) and keeps it until it
// ends: the system drops it with the process, so a copy killed with SIGKILL never leaves it
// stuck. A later copy finds the lock taken, asks the first (over a local socket beside the
// lock) to bring its window to the front, restored if minimised, with its open modal box or
// dialog above it, and ends within a few seconds whatever the first copy does (stopped, hung,
// its queue full). Nothing is ever reported to the user; a lock that cannot be made counts as
// "this copy is the first".

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

class TCiaOnlyOne : public QObject {
    Q_OBJECT
public:
    explicit TCiaOnlyOne(QObject* rodzic = nullptr);
    ~TCiaOnlyOne() override;

    // The lock's key; empty: the program file's full path.
    QString Unique = QStringLiteral("TALMOPIXO123");

    // The lock name: the key (or the program path when it is empty) with every blank and
    // backslash replaced by "_".
    static QString NazwaBlokady(const QString& unique, const QString& sciezkaProgramu);

    // The check, once: true when this copy is the first (it then raises `okno` whenever a later
    // copy asks), false when another copy runs.
    bool Sprawdz(QWidget* okno);
    // For a later copy: asks the first one to bring its window to the front; returns within
    // about three seconds, whether or not the request got through.
    void PokazPierwsza();

signals:
    // The window was brought to the front at a later copy's request.
    void podniesiono();

private:
    void podnies();
    QString sciezka(const QString& rozszerzenie) const;

    int m_blokada = -1;
    int m_gniazdo = -1;
    QByteArray m_sciezkaGniazda;
    QPointer<QWidget> m_okno;
    QString m_nazwa;
};
