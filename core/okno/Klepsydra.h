#pragma once
// The program's busy cursor: the animated hourglass read from an .ani file when there is a
// usable one, else the platform's standard wait cursor. One instance, owned by the main
// window's module and passed by reference to whatever runs long operations.
//
// While shown it is the application's override cursor; a timer steps it through the
// animation. The timer also runs inside local event loops, which is how the program waits for
// the register libraries (core/okno/CzekanieNaWatku.h), so the hourglass keeps turning meanwhile.

#include <QCursor>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include "core/okno/PlikAni.h"

class Klepsydra : public QObject {
    Q_OBJECT
public:
    explicit Klepsydra(QObject* rodzic = nullptr);
    ~Klepsydra() override;

    // Reads the animated cursor from `plik`. False (a missing or unusable file) leaves the
    // standard wait cursor in use; that is no error and nothing is reported. Needs no
    // application object yet; may be called while shown (the new cursor takes over at once).
    bool zaladuj(const QString& plik);

    // Shows the busy cursor over the whole application. Calls nest: every `pokaz` needs its
    // `ukryj`, and only the outermost pair shows and restores the cursor.
    void pokaz();
    void ukryj();

    bool animowany() const { return !m_animacja.klatki.isEmpty(); }
    bool widoczny() const { return m_poziom > 0; }
    // The step of the animation now on screen (0 when not animated).
    int biezacyKrok() const { return m_krok; }

private:
    void ustawKrok(int krok);
    void nastepnyKrok();
    void uruchomZegar();
    QCursor kursor(int krok);

    AnimacjaAni m_animacja;
    QList<QCursor> m_kursory; // one per frame, built on first show (they need the application)
    QTimer m_zegar;
    int m_krok = 0;
    int m_poziom = 0;
    bool m_ustawiony = false; // the override cursor is ours (false without an application)
};

// Shows the busy cursor for a scope, also when an exception leaves it.
class KursorKlepsydry {
public:
    explicit KursorKlepsydry(Klepsydra& klepsydra) : m_klepsydra(klepsydra) { m_klepsydra.pokaz(); }
    ~KursorKlepsydry() { m_klepsydra.ukryj(); }
    KursorKlepsydry(const KursorKlepsydry&) = delete;
    KursorKlepsydry& operator=(const KursorKlepsydry&) = delete;

private:
    Klepsydra& m_klepsydra;
};
