#include "core/okno/Klepsydra.h"

#include <QGuiApplication>
#include <QPixmap>

namespace {
bool jestAplikacjaGui() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}
} // namespace

Klepsydra::Klepsydra(QObject* rodzic) : QObject(rodzic) {
    m_zegar.setSingleShot(true);
    // Steps are multiples of 1/60 s; a coarse timer would smear them by up to 5%.
    m_zegar.setTimerType(Qt::PreciseTimer);
    connect(&m_zegar, &QTimer::timeout, this, &Klepsydra::nastepnyKrok);
}

Klepsydra::~Klepsydra() {
    if (m_ustawiony && jestAplikacjaGui())
        QGuiApplication::restoreOverrideCursor();
}

bool Klepsydra::zaladuj(const QString& plik) {
    auto animacja = PlikAni::czytajPlik(plik);
    m_animacja = animacja ? std::move(*animacja) : AnimacjaAni{};
    m_kursory.clear();
    m_krok = 0;
    if (m_ustawiony) {
        m_zegar.stop();
        ustawKrok(0);
    }
    return animowany();
}

void Klepsydra::pokaz() {
    if (m_poziom++ > 0 || !jestAplikacjaGui())
        return;
    m_krok = 0;
    QGuiApplication::setOverrideCursor(kursor(0));
    m_ustawiony = true;
    uruchomZegar();
}

void Klepsydra::ukryj() {
    if (m_poziom == 0 || --m_poziom > 0)
        return;
    m_zegar.stop();
    m_krok = 0;
    if (m_ustawiony && jestAplikacjaGui())
        QGuiApplication::restoreOverrideCursor();
    m_ustawiony = false;
}

void Klepsydra::ustawKrok(int krok) {
    m_krok = krok;
    QGuiApplication::changeOverrideCursor(kursor(krok));
    uruchomZegar();
}

void Klepsydra::uruchomZegar() {
    if (animowany() && m_animacja.kroki.size() > 1)
        m_zegar.start(m_animacja.kroki[m_krok].czasMs());
}

void Klepsydra::nastepnyKrok() {
    if (!m_ustawiony || !animowany())
        return;
    ustawKrok((m_krok + 1) % int(m_animacja.kroki.size()));
}

QCursor Klepsydra::kursor(int krok) {
    if (!animowany())
        return QCursor(Qt::WaitCursor);
    if (m_kursory.isEmpty()) {
        for (const KlatkaAni& k : m_animacja.klatki)
            m_kursory.append(
                QCursor(QPixmap::fromImage(k.obraz), k.punktAktywny.x(), k.punktAktywny.y()));
    }
    return m_kursory[m_animacja.kroki[krok].klatka];
}
