#include "comm/UrzadzeniaSzeregowe.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSerialPortInfo>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString pelnaNazwa(const QString& folder, const QString& nazwa) {
    return QDir(folder).filePath(nazwa);
}

// Every entry of `folder` named "comN" in any letter case, dangling links included.
QStringList wpisyPortu(const QString& folder, int port) {
    const QString szukana = QStringLiteral("com%1").arg(port);
    QStringList wpisy = QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden |
                                               QDir::NoDotAndDotDot);
    wpisy.removeIf([&](const QString& n) { return n.compare(szukana, Qt::CaseInsensitive) != 0; });
    return wpisy;
}

enum class Wpis { Brak, Dowiazanie, Inny };

Wpis rodzajWpisu(const QString& sciezka) {
    struct stat st {};
    if (::lstat(QFile::encodeName(sciezka).constData(), &st) != 0)
        return Wpis::Brak;
    return S_ISLNK(st.st_mode) ? Wpis::Dowiazanie : Wpis::Inny;
}

} // namespace

std::vector<UrzadzenieSzeregowe> UrzadzeniaSystemu() {
    std::vector<UrzadzenieSzeregowe> znalezione;
    for (const QSerialPortInfo& p : QSerialPortInfo::availablePorts()) {
        QString opis = p.description();
        if (!p.manufacturer().isEmpty() && !opis.contains(p.manufacturer()))
            opis = p.manufacturer() + QLatin1Char(' ') + opis;
        znalezione.push_back({p.systemLocation(), opis.trimmed()});
    }
    return UrzadzeniaZNazwamiById(znalezione, QStringLiteral("/dev/serial/by-id"));
}

std::vector<UrzadzenieSzeregowe>
UrzadzeniaZNazwamiById(const std::vector<UrzadzenieSzeregowe>& znalezione,
                       const QString& katalogById) {
    const QFileInfoList linki =
        QDir(katalogById).entryInfoList(QDir::Files | QDir::System, QDir::Name);
    std::vector<UrzadzenieSzeregowe> zById, reszta;
    for (const UrzadzenieSzeregowe& u : znalezione) {
        const QString prawdziwa = QFileInfo(u.sciezka).canonicalFilePath();
        const auto link = std::find_if(linki.begin(), linki.end(), [&](const QFileInfo& l) {
            return !prawdziwa.isEmpty() && l.canonicalFilePath() == prawdziwa;
        });
        const QString sciezka = link != linki.end() ? link->absoluteFilePath() : u.sciezka;
        const QString nazwa = link != linki.end()
                                  ? QStringLiteral("%1 (%2)").arg(link->fileName(), u.sciezka)
                                  : u.sciezka;
        (link != linki.end() ? zById : reszta)
            .push_back(
                {sciezka, u.opis.isEmpty() ? nazwa : nazwa + QStringLiteral(" - ") + u.opis});
    }
    const auto wgNazwy = [](const UrzadzenieSzeregowe& a, const UrzadzenieSzeregowe& b) {
        return a.sciezka < b.sciezka;
    };
    std::sort(zById.begin(), zById.end(), wgNazwy);
    std::sort(reszta.begin(), reszta.end(), wgNazwy);
    zById.insert(zById.end(), reszta.begin(), reszta.end());
    return zById;
}

QString NazwaPortu(const QString& folder, int port) {
    const QStringList wpisy = wpisyPortu(folder, port);
    const QString dokladna = QStringLiteral("com%1").arg(port);
    if (wpisy.isEmpty() || wpisy.contains(dokladna))
        return dokladna;
    QStringList posortowane = wpisy;
    std::sort(posortowane.begin(), posortowane.end(),
              [](const QString& a, const QString& b) { return a.toUtf8() < b.toUtf8(); });
    return posortowane.first();
}

QString OpisPortu(const QString& folder, int port) {
    const QStringList wpisy = wpisyPortu(folder, port);
    if (wpisy.isEmpty())
        return QStringLiteral("Port %1: /dev/ttyS%2").arg(port).arg(port - 1);
    if (wpisy.size() > 1)
        return QStringLiteral("Port %1: kilka plików (%2) w folderze roboczym")
            .arg(port)
            .arg(wpisy.join(QStringLiteral(", ")));
    const QString sciezka = pelnaNazwa(folder, wpisy.first());
    if (rodzajWpisu(sciezka) != Wpis::Dowiazanie)
        return QStringLiteral("Port %1: plik %2 w folderze roboczym").arg(port).arg(wpisy.first());
    return QStringLiteral("Port %1: %2").arg(port).arg(QFileInfo(sciezka).symLinkTarget());
}

QString PowodNiedostepnosci(const QString& urzadzenie) {
    // Opened as the library opens a port, and closed at once; not blocking on a modem line.
    const int fd = ::open(QFile::encodeName(urzadzenie).constData(),
                          O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return {};
    }
    switch (errno) {
    case EBUSY:
        return {};
    case EACCES:
    case EPERM:
        return QStringLiteral("Brak uprawnień do urządzenia %1. Użytkownik musi należeć do grupy "
                              "dialout (sudo adduser $USER dialout, potem wylogowanie i ponowne "
                              "zalogowanie).")
            .arg(urzadzenie);
    case ENOENT:
    case ENXIO:
    case ENODEV:
        return QStringLiteral("Urządzenie %1 nie istnieje (odłączone?).").arg(urzadzenie);
    default:
        return QStringLiteral("Nie można otworzyć urządzenia %1: %2.")
            .arg(urzadzenie, QString::fromLocal8Bit(std::strerror(errno)));
    }
}

QString DowiazPort(const QString& folder, int port, const QString& urzadzenie) {
    if (const QString powod = PowodNiedostepnosci(urzadzenie); !powod.isEmpty())
        return powod;
    const QStringList wpisy = wpisyPortu(folder, port);
    if (wpisy.size() > 1)
        return QStringLiteral("W folderze roboczym jest kilka plików portu %1 (%2); usuń zbędne.")
            .arg(port)
            .arg(wpisy.join(QStringLiteral(", ")));
    const QString nazwa = NazwaPortu(folder, port);
    const QString cel = pelnaNazwa(folder, nazwa);
    // Checked before the rename, which would replace anything: only another program of the
    // user's own could put a file there in between.
    if (rodzajWpisu(cel) == Wpis::Inny)
        return QStringLiteral("%1 w folderze roboczym nie jest dowiązaniem, więc nie zostanie "
                              "zastąpiony; usuń go albo wybierz inny numer portu.")
            .arg(nazwa);

    // A fresh temporary name each try: a name left by another program is never taken over.
    const QByteArray docelowa = QFile::encodeName(QFileInfo(urzadzenie).absoluteFilePath());
    QByteArray tymczasowa;
    for (int proba = 0; proba < 16; ++proba) {
        tymczasowa = QFile::encodeName(pelnaNazwa(
            folder, QStringLiteral(".%1.%2").arg(nazwa).arg(QRandomGenerator::global()->generate(),
                                                            8, 16, QLatin1Char('0'))));
        if (::symlink(docelowa.constData(), tymczasowa.constData()) == 0)
            break;
        if (errno != EEXIST)
            return QStringLiteral("Nie można utworzyć dowiązania %1: %2.")
                .arg(nazwa, QString::fromLocal8Bit(std::strerror(errno)));
        tymczasowa.clear();
    }
    if (tymczasowa.isEmpty())
        return QStringLiteral("Nie można utworzyć dowiązania %1.").arg(nazwa);
    if (::rename(tymczasowa.constData(), QFile::encodeName(cel).constData()) != 0) {
        const int blad = errno;
        ::unlink(tymczasowa.constData());
        return QStringLiteral("Nie można utworzyć dowiązania %1: %2.")
            .arg(nazwa, QString::fromLocal8Bit(std::strerror(blad)));
    }
    return {};
}
