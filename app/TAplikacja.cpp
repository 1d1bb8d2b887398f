#include "app/TAplikacja.h"

#include <QWidget>

#include "app/RaportBledu.h"
#include "core/BladProgramu.h"
#include "core/okno/Dialogi.h"

TAplikacja::TAplikacja(int& argc, char** argv) : QApplication(argc, argv) {}

TAplikacja::~TAplikacja() {
    ustawZglaszanieBledow(nullptr);
}

void TAplikacja::ustawObslugeBledow(Dialogi* dialogi, QWidget* glowneOkno) {
    m_dialogi = dialogi;
    m_glowneOkno = glowneOkno;
    if (dialogi)
        ustawZglaszanieBledow([this](std::exception_ptr blad) { zglosNieobsluzony(blad); });
    else
        ustawZglaszanieBledow(nullptr);
}

void TAplikacja::zglosNieobsluzony(std::exception_ptr blad) {
    QString komunikat = QStringLiteral("Nieznany błąd");
    try {
        std::rethrow_exception(blad);
    } catch (const std::exception& e) {
        komunikat = komunikatWyjatku(e);
    } catch (...) {
    }
    if (zglosBlad(komunikat) && m_glowneOkno)
        m_glowneOkno->close();
}

bool TAplikacja::notify(QObject* odbiorca, QEvent* zdarzenie) {
    // The last resort: handlers report their own errors before they reach the toolkit.
    try {
        return QApplication::notify(odbiorca, zdarzenie);
    } catch (...) {
        zglosNieobsluzony(std::current_exception());
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
