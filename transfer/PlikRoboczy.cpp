#include "transfer/PlikRoboczy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <fcntl.h>
#include <unistd.h>

#include "core/OdczytPliku.h"
#include "transfer/LaczeKasy.h"

QString NazwaRobocza(const QString& nazwa, const QString& wejscie) {
    const QFileInfo f(nazwa);
    const QString plik = f.fileName();
    if (plik.isEmpty() || plik.compare(QStringLiteral("KONFIG.TXT"), Qt::CaseInsensitive) == 0 ||
        plik.compare(QStringLiteral("RAPORT.TXT"), Qt::CaseInsensitive) == 0 ||
        nazwa.compare(wejscie, Qt::CaseInsensitive) == 0)
        return {};
    const QString robocza =
        QStringLiteral(".%1.%2.pixo")
            .arg(plik)
            .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    const QString sciezka = f.path() == QLatin1String(".") ? robocza : f.path() + '/' + robocza;
    return QFile::encodeName(sciezka).size() < LaczeKasy::kRozmiarBufora ? sciezka : QString();
}

bool OpublikujRobocza(const QString& robocza, const QString& cel) {
    const QFileInfo f(cel);
    const QString istniejacy = plikBezWielkosci(f.path(), f.fileName());
    const QString docelowy = istniejacy.isEmpty() ? cel : istniejacy;
    const int fd = ::open(QFile::encodeName(robocza).constData(), O_RDONLY | O_CLOEXEC);
    const bool zsynchronizowany = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    if (zsynchronizowany && ::rename(QFile::encodeName(robocza).constData(),
                                     QFile::encodeName(docelowy).constData()) == 0)
        return true;
    QFile::remove(robocza);
    return false;
}

void UsunRobocza(const QString& robocza, bool przerwana) {
    QFile::remove(robocza);
    if (!przerwana)
        return;
    const QFileInfo f(robocza);
    const QDir folder = f.dir();
    for (const QString& n : folder.entryList({QStringLiteral("*") + f.fileName() + '*'},
                                             QDir::Files | QDir::Hidden | QDir::System))
        QFile::remove(folder.filePath(n));
}
