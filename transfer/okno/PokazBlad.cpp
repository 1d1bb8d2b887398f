#include "transfer/okno/PokazBlad.h"

#include "core/okno/Dialogi.h"
#include "keys/StanProgramu.h"
#include "transfer/KodyBledow.h"

void PokazBlad(const StanProgramu& stan, Dialogi& dialogi, QWidget* rodzic, const QString& powod) {
    QString tekst = TekstBledu(stan.NrBledu);
    if (!powod.isEmpty())
        tekst += QLatin1Char('\r') + powod;
    dialogi.blad(rodzic, kTytulBledu, tekst);
}
