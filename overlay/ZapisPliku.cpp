#include "overlay/ZapisPliku.h"

#include <QSaveFile>

#include "core/BladProgramu.h"

void zapiszBezpiecznie(const QString& sciezka, const std::function<bool(QIODevice&)>& zapisz) {
    QSaveFile plik(sciezka);
    if (!plik.open(QIODevice::WriteOnly))
        throw BladProgramu(QStringLiteral("Nie można utworzyć pliku \"%1\".").arg(sciezka));
    // The buffered data are flushed and checked before the rename: a commit whose final flush
    // fails (a full disk) still renames the cut file over the named one.
    const bool zapisane = zapisz(plik) && plik.flush() && plik.error() == QFileDevice::NoError;
    if (!zapisane || !plik.commit()) {
        const bool brakMiejsca = plik.error() == QFileDevice::ResourceError;
        plik.cancelWriting(); // the temporary file goes with the object
        throw BladProgramu(
            brakMiejsca ? QStringLiteral("Nie można zapisać pliku \"%1\": brak miejsca na dysku.")
                              .arg(sciezka)
                        : QStringLiteral("Nie można zapisać pliku \"%1\".").arg(sciezka));
    }
}
