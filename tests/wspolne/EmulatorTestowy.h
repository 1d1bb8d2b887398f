#pragma once
// Starts pixo-emulator for one test: publishes "comN" in a given folder, waits for its ready
// line, and stops it (SIGTERM) when the object goes away.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTest>
#include <signal.h>

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
