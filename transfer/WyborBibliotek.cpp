#include "transfer/WyborBibliotek.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

QString PlikWFolderze(const QString& folder, const QString& nazwa) {
    const QDir dir(folder);
    if (QFileInfo::exists(dir.filePath(nazwa)))
        return dir.filePath(nazwa);
    QStringList nazwy = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    nazwy.removeIf([&](const QString& n) { return n.compare(nazwa, Qt::CaseInsensitive) != 0; });
    if (nazwy.isEmpty())
        return {};
    std::sort(nazwy.begin(), nazwy.end(),
              [](const QString& a, const QString& b) { return a.toUtf8() < b.toUtf8(); });
    return dir.filePath(nazwy.first());
}

std::optional<BibliotekiWine::Pliki> BibliotekiProducenta(const QString& folder) {
    const QString kavrel = PlikWFolderze(folder, QStringLiteral("Kavrel.dll"));
    const QString sevrin = PlikWFolderze(folder, QStringLiteral("Sevrin.dll"));
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
