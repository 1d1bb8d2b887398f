#include "core/ZapisPliku.h"

#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "core/BladProgramu.h"

namespace {

[[noreturn]] void bladZapisu(const QString& sciezka, int numerBledu) {
    throw BladProgramu(QStringLiteral("Nie można zapisać pliku \"%1\": %2.")
                           .arg(sciezka, przyczynaBledu(numerBledu)));
}

// Qt reports a full disk as a resource error and keeps no error number for it.
int numerBleduZapisu(const QFileDevice& plik, int numerBledu) {
    return plik.error() == QFileDevice::ResourceError ? ENOSPC : numerBledu;
}

} // namespace

QString przyczynaBledu(int numerBledu) {
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
    case ENAMETOOLONG:
        return QStringLiteral("za długa nazwa");
    case EIO:
        return QStringLiteral("błąd wejścia-wyjścia");
    default:
        return QString::fromLocal8Bit(std::strerror(numerBledu));
    }
}

void zapiszBezpiecznie(const QString& sciezka, const std::function<bool(QIODevice&)>& zapisz) {
    // The temporary file lies beside the named one, so that the rename replaces it in one
    // step. There is no sync to disk: the file must be whole or absent after a failed write,
    // not survive a power cut, and a sync costs more than the whole export.
    // A link is followed: the file it points to is replaced, the link stays.
    const QFileInfo podany(sciezka);
    const QFileInfo cel(podany.isSymLink() ? podany.symLinkTarget() : sciezka);
    QTemporaryFile plik(cel.absolutePath() + QStringLiteral("/.") + cel.fileName() +
                        QStringLiteral(".XXXXXX"));
    errno = 0;
    if (!plik.open()) {
        // The temporary cannot be made in a folder that does not exist or that the user may
        // not write; a name taken by a folder shows only at the rename, so it is told here.
        const int numer = QFileInfo(cel.absolutePath()).isDir() ? (errno ? errno : EACCES) : ENOENT;
        throw BladProgramu(QStringLiteral("Nie można utworzyć pliku \"%1\": %2.")
                               .arg(sciezka, przyczynaBledu(numer)));
    }
    errno = 0;
    const bool zapisane = zapisz(plik) && plik.flush() && plik.error() == QFileDevice::NoError;
    if (!zapisane)
        bladZapisu(sciezka, numerBleduZapisu(plik, errno ? errno : EIO));

    // The new file gets the old one's permissions, or those a newly created file gets.
    struct stat stary {};
    const QByteArray nazwa = QFile::encodeName(cel.absoluteFilePath());
    mode_t tryb = 0;
    if (::stat(nazwa.constData(), &stary) == 0) {
        tryb = stary.st_mode & 07777;
    } else {
        const mode_t maska = ::umask(0);
        ::umask(maska);
        tryb = 0666 & ~maska;
    }
    ::fchmod(plik.handle(), tryb);
    plik.close();
    if (plik.error() != QFileDevice::NoError)
        bladZapisu(sciezka, numerBleduZapisu(plik, errno ? errno : EIO));
    if (std::rename(QFile::encodeName(plik.fileName()).constData(), nazwa.constData()) != 0)
        bladZapisu(sciezka, errno); // the temporary goes with the object
    plik.setAutoRemove(false);
}
