#include "overlay/ZapisPliku.h"

#include <QFileInfo>
#include <QTemporaryFile>
#include <cstdio>
#include <sys/stat.h>

#include "core/BladProgramu.h"

namespace {

[[noreturn]] void bladZapisu(const QString& sciezka, bool brakMiejsca) {
    throw BladProgramu(
        brakMiejsca
            ? QStringLiteral("Nie można zapisać pliku \"%1\": brak miejsca na dysku.").arg(sciezka)
            : QStringLiteral("Nie można zapisać pliku \"%1\".").arg(sciezka));
}

} // namespace

void zapiszBezpiecznie(const QString& sciezka, const std::function<bool(QIODevice&)>& zapisz) {
    // The temporary file lies beside the named one, so that the rename replaces it in one
    // step. There is no sync to disk: the file must be whole or absent after a failed write,
    // not survive a power cut, and a sync costs more than the whole export.
    // A link is followed: the file it points to is replaced, the link stays.
    const QFileInfo podany(sciezka);
    const QFileInfo cel(podany.isSymLink() ? podany.symLinkTarget() : sciezka);
    QTemporaryFile plik(cel.absolutePath() + QStringLiteral("/.") + cel.fileName() +
                        QStringLiteral(".XXXXXX"));
    if (!plik.open())
        throw BladProgramu(QStringLiteral("Nie można utworzyć pliku \"%1\".").arg(sciezka));
    const bool zapisane = zapisz(plik) && plik.flush() && plik.error() == QFileDevice::NoError;
    if (!zapisane)
        bladZapisu(sciezka, plik.error() == QFileDevice::ResourceError);

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
        bladZapisu(sciezka, plik.error() == QFileDevice::ResourceError);
    if (std::rename(QFile::encodeName(plik.fileName()).constData(), nazwa.constData()) != 0)
        bladZapisu(sciezka, false); // the temporary goes with the object
    plik.setAutoRemove(false);
}
