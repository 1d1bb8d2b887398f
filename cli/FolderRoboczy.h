#pragma once
// The private working folder of pixo-kasa. The protocol library reads KONFIG.TXT and looks up
// the "comN" port links in the current folder, and takes its files by names of at most 255
// bytes. So the program works in a folder of its own under the system's temporary folder:
// - KONFIG.TXT there is a copy of the configuration the user named;
// - every "comN" (any letter case) of the user's folder is linked there, so that port N is
//   the same device the window program would open in that folder;
// - the request files, the per-register key-definition files and the library's outputs are
//   written there; an output reaches the user's folder only once it is complete (opublikuj).
// Nothing of the user's is touched but the outputs. The folder goes with the object, and on
// SIGINT, SIGTERM and SIGHUP too (UsuwajPrzySygnale): an interrupted transfer leaves nothing,
// neither here nor half-written beside the user's files.

#include <QString>
#include <QTemporaryDir>
#include <utility>
#include <vector>

class FolderRoboczy {
public:
    // Makes the folder and makes it the current one. `konfiguracja`: the configuration file
    // (a regular one, core/OdczytPliku.h); `folderPortow`: the folder whose "comN" are
    // linked. Raises BladProgramu (in Polish) when a step fails; nothing is left behind then.
    FolderRoboczy(const QString& konfiguracja, const QString& folderPortow);
    // Back to the folder current before, and the private one removed with all in it.
    ~FolderRoboczy();
    FolderRoboczy(const FolderRoboczy&) = delete;
    FolderRoboczy& operator=(const FolderRoboczy&) = delete;

    // Copies the working folder's files (each a name there and its target, an absolute name)
    // as one, by the program's writer (core/ZapisPliku.h zapiszRazemBezpiecznie): all of them
    // or none; a signal meanwhile waits until it is done. Raises BladProgramu naming the file
    // and the reason; every target is then as it was.
    void opublikuj(const std::vector<std::pair<QString, QString>>& nazwyICele) const;

private:
    QString m_poprzedni;
    QTemporaryDir m_folder;
};

// Ignores SIGPIPE (a write to a closed output then fails and is reported, see RaportKasy).
// Blocks SIGINT, SIGTERM and SIGHUP in the calling thread, and so in every thread started
// after it (call it first thing in main), and waits for them on a thread of its own: on one it
// removes the working folder that exists at that moment, ends a progress line on the terminal
// and ends the program as the signal would have. A register library call may be blocked for
// its whole timeout; the user's interrupt must not wait for it, nor leave the folder behind.
void UsuwajPrzySygnale();
