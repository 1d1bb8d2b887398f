#include "core/ZapisPliku.h"

#include <QBuffer>
#include <QFile>
#include <cerrno>
#include <cstring>

#include "core/BladProgramu.h"
#include "link/common/PlikTymczasowy.h"

namespace {

[[noreturn]] void bladZapisu(const QString& sciezka, int numerBledu) {
    throw BladProgramu(QStringLiteral("Nie można zapisać pliku \"%1\": %2.")
                           .arg(sciezka, przyczynaBledu(numerBledu)));
}

} // namespace

QString przyczynaBledu(int numerBledu) {
    if (const char* wlasna = pixo::przyczynaWlasna(numerBledu))
        return QString::fromUtf8(wlasna);
    switch (numerBledu) {
    case EACCES:
    case EPERM:
        return QStringLiteral("brak uprawnień");
    case ENOENT:
        return QStringLiteral("nie ma takiego pliku ani folderu");
    case ENOTDIR:
        return QStringLiteral("ścieżka prowadzi przez plik, a nie folder");
    case EISDIR:
        return QStringLiteral("pod tą nazwą jest folder");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("brak miejsca na dysku");
    case EROFS:
        return QStringLiteral("dysk tylko do odczytu");
    case EFBIG:
        return QStringLiteral("plik przekracza dozwolony rozmiar");
    case ENAMETOOLONG:
        return QStringLiteral("za długa nazwa");
    case EIO:
        return QStringLiteral("błąd wejścia-wyjścia");
    default:
        return QString::fromLocal8Bit(std::strerror(numerBledu));
    }
}

void zapiszBezpiecznie(const QString& sciezka, const std::function<bool(QIODevice&)>& zapisz) {
    // The data are gathered first and handed to the one writer of the project whole.
    QByteArray dane;
    QBuffer bufor(&dane);
    bufor.open(QIODevice::WriteOnly);
    if (!zapisz(bufor))
        bladZapisu(sciezka, EIO);
    pixo::PlikTymczasowy plik;
    if (!plik.utworz(QFile::encodeName(sciezka).toStdString()))
        throw BladProgramu(QStringLiteral("Nie można utworzyć pliku \"%1\": %2.")
                               .arg(sciezka, przyczynaBledu(plik.bladSystemu())));
    if (!plik.zapisz(std::string_view(dane.constData(), static_cast<std::size_t>(dane.size()))) ||
        !plik.opublikuj())
        bladZapisu(sciezka, plik.bladSystemu());
}
