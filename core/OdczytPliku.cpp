#include "core/OdczytPliku.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/BladProgramu.h"
#include "core/ZapisPliku.h"
#include "link/common/NazwaBezWielkosci.h"

namespace {

[[noreturn]] void blad(const QString& co, const QString& sciezka, const QString& dlaczego) {
    throw BladProgramu(QStringLiteral("Nie można %1 pliku \"%2\": %3.").arg(co, sciezka, dlaczego));
}

QString coToZaPlik(mode_t tryb) {
    if (S_ISDIR(tryb))
        return przyczynaBledu(EISDIR);
    if (S_ISFIFO(tryb))
        return QStringLiteral("to potok (FIFO), a nie zwykły plik");
    if (S_ISCHR(tryb) || S_ISBLK(tryb))
        return QStringLiteral("to urządzenie, a nie zwykły plik");
    return QStringLiteral("to nie jest zwykły plik");
}

QString zaDuzy(qint64 maksBajtow) {
    return maksBajtow >= 1024 * 1024
               ? QStringLiteral("plik jest za duży (ponad %1 MB)").arg(maksBajtow / (1024 * 1024))
               : QStringLiteral("plik jest za duży (ponad %1 KB)").arg(maksBajtow / 1024);
}

} // namespace

QString plikBezWielkosci(const QString& folder, const QString& nazwa) {
    const auto znaleziona = pixo::nazwaBezWielkosci(QFile::encodeName(folder).toStdString(),
                                                    QFile::encodeName(nazwa).toStdString());
    if (!znaleziona)
        return {};
    const QString nazwaZnaleziona = QFile::decodeName(QByteArray::fromStdString(*znaleziona));
    // In the working folder the bare name, as messages name these files.
    return folder == QLatin1String(".") ? nazwaZnaleziona : QDir(folder).filePath(nazwaZnaleziona);
}

QByteArray wczytajZwyklyPlik(const QString& sciezka, qint64 maksBajtow) {
    const QByteArray nazwa = QFile::encodeName(sciezka);
    struct stat st {};
    // Looked at before it is opened: opening a device may already do something.
    if (::stat(nazwa.constData(), &st) != 0)
        blad(QStringLiteral("otworzyć"), sciezka, przyczynaBledu(errno));
    if (!S_ISREG(st.st_mode))
        blad(QStringLiteral("otworzyć"), sciezka, coToZaPlik(st.st_mode));
    const int fd = ::open(nazwa.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        blad(QStringLiteral("otworzyć"), sciezka, przyczynaBledu(errno));
    struct Zamknij {
        int fd;
        ~Zamknij() { ::close(fd); }
    } zamknij{fd};
    // The name may have been given to something else between the two looks.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        blad(QStringLiteral("otworzyć"), sciezka, coToZaPlik(st.st_mode));
    if (st.st_size > maksBajtow)
        blad(QStringLiteral("odczytać"), sciezka, zaDuzy(maksBajtow));

    QByteArray dane;
    dane.resize(static_cast<qsizetype>(st.st_size) + 1);
    qsizetype ile = 0;
    for (;;) {
        // One byte past the limit tells a file that grew while it was read.
        if (ile == dane.size())
            dane.resize(std::min<qsizetype>(dane.size() * 2, maksBajtow + 1));
        const ssize_t n = ::read(fd, dane.data() + ile, static_cast<size_t>(dane.size() - ile));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            blad(QStringLiteral("odczytać"), sciezka, przyczynaBledu(errno));
        if (n == 0)
            break;
        ile += n;
        if (ile > maksBajtow)
            blad(QStringLiteral("odczytać"), sciezka, zaDuzy(maksBajtow));
    }
    dane.resize(ile);
    return dane;
}
