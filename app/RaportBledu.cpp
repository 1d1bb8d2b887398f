#include "app/RaportBledu.h"

#include "core/okno/Dialogi.h"

QString tekstRaportuBledu(const QString& komunikat) {
    return QStringLiteral("Wystąpił wyjątek: ") + QLatin1Char('\r') + komunikat +
           QLatin1Char('\r') + QStringLiteral("Aplikacja może pracować niestabilnie.") +
           QLatin1Char('\r') + QStringLiteral("Czy zakończyć program?");
}

bool pokazRaportBledu(Dialogi& dialogi, QWidget* okno, const QString& komunikat) {
    const Dialogi::Komunikat k{QStringLiteral("Błąd wykonania programu"),
                               tekstRaportuBledu(komunikat), Dialogi::Ikona::Brak,
                               Dialogi::Tak | Dialogi::Nie};
    return dialogi.komunikat(okno, k) == Dialogi::Tak;
}
