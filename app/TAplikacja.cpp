#include "app/TAplikacja.h"

#include <QWidget>

#include "app/RaportBledu.h"
#include "core/BladProgramu.h"
#include "core/Dialogi.h"

TAplikacja::TAplikacja(int& argc, char** argv) : QApplication(argc, argv) {}

void TAplikacja::ustawObslugeBledow(Dialogi* dialogi, QWidget* glowneOkno) {
    m_dialogi = dialogi;
    m_glowneOkno = glowneOkno;
}

bool TAplikacja::notify(QObject* odbiorca, QEvent* zdarzenie) {
    try {
        return QApplication::notify(odbiorca, zdarzenie);
    } catch (const std::exception& e) {
        if (zglosBlad(komunikatWyjatku(e)) && m_glowneOkno)
            m_glowneOkno->close();
    } catch (...) {
        if (zglosBlad(QStringLiteral("Nieznany błąd")) && m_glowneOkno)
            m_glowneOkno->close();
    }
    return false;
}

bool TAplikacja::zglosBlad(const QString& komunikat) {
    // An error raised while the report itself is open must not stack a second report.
    if (!m_dialogi || m_raportPokazany)
        return false;
    m_raportPokazany = true;
    const bool zakoncz = pokazRaportBledu(*m_dialogi, m_glowneOkno, komunikat);
    m_raportPokazany = false;
    m_zakonczenieWybrane = m_zakonczenieWybrane || zakoncz;
    return zakoncz;
}

void TAplikacja::zglosBladStartu(const std::exception& e) {
    auto* aplikacja = qobject_cast<TAplikacja*>(QCoreApplication::instance());
    if (!aplikacja || !aplikacja->m_dialogi)
        throw;
    aplikacja->zglosBlad(komunikatWyjatku(e));
}
