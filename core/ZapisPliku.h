#pragma once
// Writing a file whole or not at all, for the program's own files (key definitions, label
// files, exported bitmaps): the data go to a temporary file in the same folder, which
// replaces the named file only once everything was written.
//
// Durability: no sync to disk; after a failed write the old file is there, after a power cut
// the old or the new one may be.
// Links: followed; the file a link points to is replaced, the link stays.
// Permissions: the old file's; a new file gets 0666 less the umask.

#include <QString>
#include <functional>

class QIODevice;

// Calls `zapisz` on the temporary file; `zapisz` returns false when a write failed. Raises
// BladProgramu with a Polish message naming the file and the reason when the file cannot be
// created or written; the named file is then left as it was.
void zapiszBezpiecznie(const QString& sciezka, const std::function<bool(QIODevice&)>& zapisz);

// The reason for a system error number, in Polish, for messages that name a file.
QString przyczynaBledu(int numerBledu);
