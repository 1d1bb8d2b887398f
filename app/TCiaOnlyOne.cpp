#include "app/TCiaOnlyOne.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThread>
#include <QWidget>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

const QByteArray kProsba = QByteArrayLiteral("pokaz\n");
constexpr int kCzekanieNaPierwszaMs = 3000;

// The socket's address; false when the path is too long for one.
bool adres(const QByteArray& sciezka, sockaddr_un& a) {
    std::memset(&a, 0, sizeof a);
    a.sun_family = AF_UNIX;
    if (sciezka.size() >= static_cast<qsizetype>(sizeof a.sun_path))
        return false;
    std::memcpy(a.sun_path, sciezka.constData(), static_cast<size_t>(sciezka.size()));
    return true;
}

} // namespace

TCiaOnlyOne::TCiaOnlyOne(QObject* rodzic) : QObject(rodzic) {}

TCiaOnlyOne::~TCiaOnlyOne() {
    // Errors are ignored: the system drops the lock with the process anyway. The socket goes
    // while the lock is still held, so that it never removes a later owner's.
    if (m_gniazdo >= 0) {
        ::unlink(m_sciezkaGniazda.constData());
        ::close(m_gniazdo);
    }
    if (m_blokada >= 0)
        ::close(m_blokada);
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
    // Only the owner of the lock clears a socket a killed copy left behind. A request is one
    // datagram: no connection to keep, nothing a stalled later copy could hold up.
    m_sciezkaGniazda = QFile::encodeName(sciezka(QStringLiteral(".gniazdo")));
    ::unlink(m_sciezkaGniazda.constData());
    sockaddr_un a;
    if (!adres(m_sciezkaGniazda, a))
        return true;
    m_gniazdo = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_gniazdo < 0)
        return true;
    if (::bind(m_gniazdo, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) {
        ::close(m_gniazdo);
        m_gniazdo = -1;
        return true;
    }
    auto* powiadomienie = new QSocketNotifier(m_gniazdo, QSocketNotifier::Read, this);
    connect(powiadomienie, &QSocketNotifier::activated, this, [this] {
        char bufor[64];
        bool prosba = false;
        ssize_t n;
        while ((n = ::recv(m_gniazdo, bufor, sizeof bufor, 0)) > 0)
            prosba = prosba || QByteArray(bufor, n) == kProsba;
        if (prosba)
            podnies();
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
    // An open message box or dialog is what the user must answer; left behind the window, the
    // window would look frozen.
    if (QWidget* modalne = QApplication::activeModalWidget()) {
        modalne->raise();
        modalne->activateWindow();
    }
    emit podniesiono();
}

void TCiaOnlyOne::PokazPierwsza() {
    // The first copy may still be starting its listener: it is tried for a few seconds. The
    // send never blocks: a stopped or hung first copy with its queue full would otherwise hold
    // this copy for good. A full queue already holds requests that the first copy answers
    // when it reads again, so this one adds nothing and ends at once.
    sockaddr_un a;
    if (!adres(QFile::encodeName(sciezka(QStringLiteral(".gniazdo"))), a))
        return;
    const int s = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (s < 0)
        return;
    QDeadlineTimer termin(kCzekanieNaPierwszaMs);
    while (!termin.hasExpired()) {
        if (::sendto(s, kProsba.constData(), static_cast<size_t>(kProsba.size()), 0,
                     reinterpret_cast<const sockaddr*>(&a), sizeof a) == kProsba.size() ||
            errno == EAGAIN)
            break;
        QThread::msleep(50);
    }
    ::close(s);
}
