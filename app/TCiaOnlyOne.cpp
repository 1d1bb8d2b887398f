#include "app/TCiaOnlyOne.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QWidget>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const QByteArray kProsba = QByteArrayLiteral("pokaz\n");
constexpr int kCzekanieNaPierwszaMs = 3000;

} // namespace

TCiaOnlyOne::TCiaOnlyOne(QObject* rodzic) : QObject(rodzic) {}

TCiaOnlyOne::~TCiaOnlyOne() {
    if (m_blokada >= 0)
        ::close(m_blokada); // errors ignored: the system drops the lock with the process anyway
}

QString TCiaOnlyOne::NazwaBlokady(const QString& unique, const QString& sciezkaProgramu) {
    QString nazwa = unique.isEmpty() ? sciezkaProgramu : unique;
    nazwa.replace(QLatin1Char(' '), QLatin1Char('_'));
    nazwa.replace(QLatin1Char('\\'), QLatin1Char('_'));
    return nazwa;
}

QString TCiaOnlyOne::sciezka(const QString& rozszerzenie) const {
    // The user's private runtime folder keeps other users out. A name that cannot be a file
    // name (a program path has slashes) or would make too long a socket path is hashed.
    const QString katalog = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    QString plik = m_nazwa;
    if (plik.contains(QLatin1Char('/')) || plik.size() > 60)
        plik = QString::fromLatin1(
            QCryptographicHash::hash(plik.toUtf8(), QCryptographicHash::Sha1).toHex());
    return katalog + QLatin1Char('/') + QStringLiteral("pixo-") + plik + rozszerzenie;
}

bool TCiaOnlyOne::Sprawdz(QWidget* okno) {
    m_okno = okno;
    m_nazwa = NazwaBlokady(Unique, QCoreApplication::applicationFilePath());
    const QByteArray plik = QFile::encodeName(sciezka(QStringLiteral(".blokada")));
    m_blokada = ::open(plik.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_blokada < 0)
        return true;
    if (::flock(m_blokada, LOCK_EX | LOCK_NB) != 0) {
        const bool inna = errno == EWOULDBLOCK;
        ::close(m_blokada);
        m_blokada = -1;
        return !inna;
    }
    // Only the owner of the lock clears a socket a killed copy left behind.
    const QString gniazdo = sciezka(QStringLiteral(".gniazdo"));
    QLocalServer::removeServer(gniazdo);
    m_serwer = new QLocalServer(this);
    m_serwer->setSocketOptions(QLocalServer::UserAccessOption);
    if (m_serwer->listen(gniazdo))
        connect(m_serwer, &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket* s = m_serwer->nextPendingConnection()) {
                connect(s, &QLocalSocket::readyRead, this, [this, s] {
                    if (s->readAll().contains(kProsba))
                        podnies();
                });
                connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    return true;
}

void TCiaOnlyOne::podnies() {
    if (!m_okno)
        return;
    if (m_okno->isMinimized())
        m_okno->showNormal();
    m_okno->show();
    m_okno->raise();
    m_okno->activateWindow();
    emit podniesiono();
}

void TCiaOnlyOne::PokazPierwsza() {
    // The first copy may still be starting its listener: it is tried for a few seconds.
    const QString gniazdo = sciezka(QStringLiteral(".gniazdo"));
    QDeadlineTimer termin(kCzekanieNaPierwszaMs);
    while (!termin.hasExpired()) {
        QLocalSocket s;
        s.connectToServer(gniazdo);
        if (s.waitForConnected(200)) {
            s.write(kProsba);
            s.waitForBytesWritten(500);
            s.disconnectFromServer();
            return;
        }
        QThread::msleep(50);
    }
}
