#include "transfer/PokazBlad.h"

#include "core/Dialogi.h"
#include "keys/StanProgramu.h"
#include "transfer/KodyBledow.h"

void PokazBlad(const StanProgramu& stan, Dialogi& dialogi, QWidget* rodzic) {
    dialogi.blad(rodzic, kTytulBledu, TekstBledu(stan.NrBledu));
}
