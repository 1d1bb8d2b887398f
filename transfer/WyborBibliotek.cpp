#include "transfer/WyborBibliotek.h"

#include <QFileInfo>

#include "core/OdczytPliku.h"

std::optional<BibliotekiWine::Pliki> BibliotekiProducenta(const QString& folder) {
    const QString kavrel = plikBezWielkosci(folder, QStringLiteral("Kavrel.dll"));
    const QString sevrin = plikBezWielkosci(folder, QStringLiteral("Sevrin.dll"));
    if (kavrel.isEmpty() || sevrin.isEmpty())
        return std::nullopt;
    return BibliotekiWine::Pliki{QFileInfo(kavrel).absoluteFilePath(),
                                 QFileInfo(sevrin).absoluteFilePath()};
}

std::unique_ptr<LaczeKasy> WybierzBiblioteki(BibliotekiKasy::Oczekiwanie oczekiwanie,
                                             const QString& folder) {
    if (auto pliki = BibliotekiProducenta(folder))
        return std::make_unique<BibliotekiWine>(std::move(*pliki), std::move(oczekiwanie));
    return std::make_unique<BibliotekiKasy>(std::move(oczekiwanie));
}
