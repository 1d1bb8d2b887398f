#include "cli/FolderRoboczy.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <csignal>
#include <cstdlib>
#include <mutex>
#include <pthread.h>
#include <thread>
#include <unistd.h>

#include "core/BladProgramu.h"
#include "core/OdczytPliku.h"
#include "core/ZapisPliku.h"

namespace {

// What is read of the configuration file (as much as the protocol library reads) and of an
// output of the library (far more than a register's lists).
constexpr qint64 kMaksKonfiguracji = 64 * 1024;
constexpr qint64 kMaksWyjscia = 64 * 1024 * 1024;

// The working folder that a signal removes; empty while there is none.
std::mutex g_mutexFolderu;
QString g_folderDoUsuniecia;

[[noreturn]] void bladFolderu(const QString& co) {
    throw BladProgramu(QStringLiteral("Nie można przygotować folderu roboczego: %1.").arg(co));
}

sigset_t sygnalyZakonczenia() {
    sigset_t s;
    sigemptyset(&s);
    sigaddset(&s, SIGINT);
    sigaddset(&s, SIGTERM);
    sigaddset(&s, SIGHUP);
    return s;
}

} // namespace

FolderRoboczy::FolderRoboczy(const QString& konfiguracja, const QString& folderPortow)
    : m_poprzedni(QDir::currentPath()),
      m_folder(QDir::tempPath() + QStringLiteral("/pixo-kasa-XXXXXX")) {
    if (!m_folder.isValid())
        bladFolderu(m_folder.errorString());
    {
        const std::lock_guard<std::mutex> blokada(g_mutexFolderu);
        g_folderDoUsuniecia = m_folder.path();
    }
    const QDir folder(m_folder.path());

    // Read as every input is (a FIFO or a device named by mistake is refused, not waited for).
    const QByteArray tresc = wczytajZwyklyPlik(konfiguracja, kMaksKonfiguracji);
    zapiszBezpiecznie(folder.filePath(QStringLiteral("KONFIG.TXT")),
                      [&](QIODevice& d) { return d.write(tresc) == tresc.size(); });

    // Dangling links too (QDir::System): a port whose emulator has stopped is then reported by
    // the library as the missing port it is, not as a serial port that does not exist.
    static const QRegularExpression kPort(QStringLiteral("^com[0-9]+$"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QDir porty(folderPortow);
    for (const QString& nazwa :
         porty.entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (kPort.match(nazwa).hasMatch() &&
            !QFile::link(porty.absoluteFilePath(nazwa), folder.filePath(nazwa)))
            bladFolderu(QStringLiteral("nie można dowiązać portu %1").arg(nazwa));
    }

    if (!QDir::setCurrent(folder.path()))
        bladFolderu(folder.path());
}

FolderRoboczy::~FolderRoboczy() {
    QDir::setCurrent(m_poprzedni);
    // Removed under the signal's lock: a signal now finds it either still there or gone. The
    // links go, not what they lead to.
    const std::lock_guard<std::mutex> blokada(g_mutexFolderu);
    m_folder.remove();
    g_folderDoUsuniecia.clear();
}

void FolderRoboczy::opublikuj(const std::vector<std::pair<QString, QString>>& nazwyICele) const {
    std::vector<std::pair<QString, QByteArray>> pliki;
    for (const auto& [nazwa, cel] : nazwyICele)
        pliki.emplace_back(cel,
                           wczytajZwyklyPlik(QDir(m_folder.path()).filePath(nazwa), kMaksWyjscia));
    // Under the signal's lock, so an interrupt does not leave the writer's temporaries beside
    // the user's files; a write of a few hundred kilobytes holds it for milliseconds.
    const std::lock_guard<std::mutex> blokada(g_mutexFolderu);
    zapiszRazemBezpiecznie(pliki);
}

void UsuwajPrzySygnale() {
    // A closed output (a pipe into "head") must not end the program on the spot, leaving the
    // working folder: the failed write is reported instead, and the run ends in order.
    std::signal(SIGPIPE, SIG_IGN);
    const sigset_t sygnaly = sygnalyZakonczenia();
    pthread_sigmask(SIG_BLOCK, &sygnaly, nullptr);
    std::thread([sygnaly] {
        int sygnal = 0;
        if (sigwait(&sygnaly, &sygnal) != 0)
            return;
        {
            const std::lock_guard<std::mutex> blokada(g_mutexFolderu);
            // The library may be creating a file in it right now; a second pass takes that too.
            for (int proba = 0; proba < 3 && !g_folderDoUsuniecia.isEmpty(); ++proba)
                if (QDir(g_folderDoUsuniecia).removeRecursively())
                    break;
        }
        if (isatty(STDERR_FILENO))
            (void)!write(STDERR_FILENO, "\n", 1);
        // Ended by the signal itself, so that a calling shell sees an interrupt, not an error.
        std::signal(sygnal, SIG_DFL);
        sigset_t ten;
        sigemptyset(&ten);
        sigaddset(&ten, sygnal);
        pthread_sigmask(SIG_UNBLOCK, &ten, nullptr);
        raise(sygnal);
        _exit(128 + sygnal);
    }).detach();
}
