#include "overlay/ZapisPliku.h"

#include <QSaveFile>

#include "core/BladProgramu.h"

void zapiszBezpiecznie(const QString& sciezka, const std::function<bool(QIODevice&)>& zapisz) {
    QSaveFile plik(sciezka);
    if (!plik.open(QIODevice::WriteOnly))
        throw BladProgramu(QStringLiteral("Nie można utworzyć pliku \"%1\".").arg(sciezka));
    const bool zapisane = zapisz(plik);
    if (!zapisane || !plik.commit()) {
        plik.cancelWriting();
        throw BladProgramu(
            plik.error() == QFileDevice::ResourceError
                ? QStringLiteral("Nie można zapisać pliku \"%1\": brak miejsca na dysku.")
                      .arg(sciezka)
                : QStringLiteral("Nie można zapisać pliku \"%1\".").arg(sciezka));
    }
}
