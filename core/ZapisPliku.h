#pragma once
// Writing a file whole or not at all, for the program's own files (key definitions, label
// files, exported bitmaps): the Qt side of the project's one writer, link/common/
// PlikTymczasowy.h, whose policies hold here too:
//
// - Durability: synced before the rename; after a failure or a power loss the old file or the
//   new one is there.
// - Links: followed; the link stays and the regular file it leads to is replaced. Another
//   user's link in a sticky, world-writable folder is refused.
// - Targets: only a regular file is replaced; a folder, device node, FIFO or socket is refused
//   with its reason and left as it was.
// - Permissions: an existing file keeps its mode; a file the user may not write is refused.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

class QIODevice;

// Calls `zapisz` on a buffer in memory, then writes what it wrote; `zapisz` returns false when
// a write failed. Raises
// BladProgramu with a Polish message naming the file and the reason when the file cannot be
// created or written; the named file is then left as it was.
void zapiszBezpiecznie(const QString& sciezka, const std::function<bool(QIODevice&)>& zapisz);
// The same for bytes already gathered, which are written as they are (a bitmap of megabytes is
// not copied once more).
void zapiszBezpiecznie(const QString& sciezka, QByteArrayView dane);

// Files of one task written one after another, each whole or not at all as zapiszBezpiecznie
// writes it (not as one: a file written stays when a later one fails). What killed writers
// left of any of them is cleared with one look at each folder when the first is written,
// rather than once for every file: a folder of many files takes a while to look through.
class ZapisKolejny {
public:
    explicit ZapisKolejny(QStringList sciezki);
    // Writes `sciezka`, one of the files given (a file not among them gets a look of its own).
    void zapisz(const QString& sciezka, QByteArrayView dane);

private:
    QStringList m_sciezki;
    bool m_przejrzane = false;
};

// Writes several files as one: each is first written whole beside its target and synced (a
// full disk shows here, before any target is touched), then they are put in place one after
// another. Should one of those last steps fail, the targets already replaced get their old
// bytes back and those that are new go, so every target is as it was. Raises BladProgramu as
// zapiszBezpiecznie does; also when an existing target cannot be read for that.
void zapiszRazemBezpiecznie(const std::vector<std::pair<QString, QByteArray>>& pliki);

// The reason for a system error number (or one of the writer's own, PlikTymczasowy.h), in
// Polish, for messages that name a file.
QString przyczynaBledu(int numerBledu);
