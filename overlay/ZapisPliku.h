#pragma once
// Writing a file whole or not at all: the data go to a temporary file in the same folder,
// which replaces the named file only once everything was written.

#include <QString>
#include <functional>

class QIODevice;

// Calls `zapisz` on the temporary file; `zapisz` returns false when a write failed. Raises
// BladProgramu (with a message naming the file) when the file cannot be created or written;
// the named file is then left as it was.
void zapiszBezpiecznie(const QString& sciezka, const std::function<bool(QIODevice&)>& zapisz);
