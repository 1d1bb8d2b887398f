#pragma once
// The register emulator for the tests of every folder that talk to it.
// EmulatorTestowy starts pixo-emulator for one test: publishes "comN" in a given folder, waits
// for its ready line, and stops it (SIGTERM, then kill) when the object goes away.
// FolderZEmulatorem is one test's working folder around it: a temporary folder made the
// current one, KONFIG.TXT written there when given, the emulator started in it on demand with
// its state under "stan"; when it goes, the emulator is stopped, the previous folder is
// current again and the temporary is removed (so one goes before the next is made). zapiszPlik
// and zawartosc write and read a file byte for byte.

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <signal.h>

// Replaces the file whole: removed first, so that a link or a read-only file standing there is
// replaced, not written through.
inline void zapiszPlik(const QString& nazwa, const QByteArray& tresc) {
    QFile::remove(nazwa);
    QFile f(nazwa);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(tresc) == tresc.size());
}

// The file's bytes, or "<brak>" when it cannot be read.
inline QByteArray zawartosc(const QString& nazwa) {
    QFile f(nazwa);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<brak>");
}

class EmulatorTestowy {
public:
    static QString program() {
        // Under CTest the build folder is given; run by hand, tests/<dir>/ is two levels down.
        const QString build = qEnvironmentVariable("PIXO_BUILD_DIR");
        return (build.isEmpty() ? QCoreApplication::applicationDirPath() + "/../.." : build) +
               "/emulator/pixo-emulator";
    }

    EmulatorTestowy() = default;
    EmulatorTestowy(const EmulatorTestowy&) = delete;
    EmulatorTestowy& operator=(const EmulatorTestowy&) = delete;
    ~EmulatorTestowy() { zatrzymaj(); }

    // Starts the emulator with `--folder folder --port port` and `argumenty`; true once it has
    // printed its ready line.
    bool uruchom(const QString& folder, const QStringList& argumenty, int port = 1) {
        zatrzymaj();
        wyjscie_.clear();
        proces_.setProgram(program());
        proces_.setArguments(QStringList{"--folder", folder, "--port", QString::number(port)} +
                             argumenty);
        proces_.setProcessChannelMode(QProcess::SeparateChannels);
        proces_.start();
        if (!proces_.waitForStarted(5000))
            return false;
        return czekajNa("gotowe: ", 5000);
    }

    // Waits until the emulator's standard output holds `tekst` (counting from the start).
    bool czekajNa(const QString& tekst, int ms, int ktory = 1) {
        QDeadlineTimer termin(ms);
        for (;;) {
            wyjscie_ += QString::fromUtf8(proces_.readAllStandardOutput());
            if (wyjscie_.count(tekst) >= ktory)
                return true;
            if (termin.hasExpired() || proces_.state() != QProcess::Running)
                return false;
            proces_.waitForReadyRead(50);
        }
    }

    void zatrzymaj() {
        if (proces_.state() == QProcess::NotRunning)
            return;
        ::kill(static_cast<pid_t>(proces_.processId()), SIGTERM);
        if (!proces_.waitForFinished(5000)) {
            proces_.kill();
            proces_.waitForFinished(2000);
        }
    }

    QString wyjscie() {
        wyjscie_ += QString::fromUtf8(proces_.readAllStandardOutput());
        return wyjscie_;
    }
    QString bledy() { return QString::fromUtf8(proces_.readAllStandardError()); }
    QProcess& proces() { return proces_; }

private:
    QProcess proces_;
    QString wyjscie_;
};

class FolderZEmulatorem : public QTemporaryDir {
public:
    // `konfig`: KONFIG.TXT's contents; empty: no KONFIG.TXT.
    explicit FolderZEmulatorem(const QByteArray& konfig = {}) : poprzedni_(QDir::currentPath()) {
        QVERIFY(isValid() && QDir::setCurrent(path()));
        if (!konfig.isEmpty())
            zapiszPlik("KONFIG.TXT", konfig);
    }
    FolderZEmulatorem(const FolderZEmulatorem&) = delete;
    FolderZEmulatorem& operator=(const FolderZEmulatorem&) = delete;
    ~FolderZEmulatorem() {
        emulator_.zatrzymaj();
        QDir::setCurrent(poprzedni_);
    }

    // Starts the emulator as "comN" (N = `port`) with `argumenty`; false, with what the
    // emulator said in the test's log, when it does not come up.
    bool uruchom(const QStringList& argumenty = {}, int port = 1) {
        if (emulator_.uruchom(path(), QStringList{"--state", filePath("stan")} + argumenty, port))
            return true;
        qWarning("pixo-emulator: %s", qPrintable(emulator_.bledy()));
        return false;
    }
    EmulatorTestowy& emulator() { return emulator_; }

private:
    QString poprzedni_;
    EmulatorTestowy emulator_;
};
