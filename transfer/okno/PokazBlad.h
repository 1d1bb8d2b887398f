#pragma once
// Shows the message of the current result code in an error box.

#include <QString>

class Dialogi;
class QWidget;
struct StanProgramu;

// Caption of every error box of the register operations. The platform the tool first ran on
// captioned them in its own language; the tool speaks Polish throughout, so they say so too.
inline const QString kTytulBledu = QStringLiteral("Błąd");

// Error icon, one OK button, the text of stan.NrBledu (an empty box for a code without text)
// and, when given, `powod` on a line of its own under it (why a port did not open). Returns
// when the user has closed the box; changes nothing. Callers call it only when NrBledu is not 0.
void PokazBlad(const StanProgramu& stan, Dialogi& dialogi, QWidget* rodzic = nullptr,
               const QString& powod = {});
