#pragma once
// The faces of the program's forms. The forms are laid out for a narrow bitmap sans serif face
// ("MS Sans Serif") that Linux systems do not have; a stand-in of similar width keeps their
// captions inside the described control sizes.

#include <QFont>
#include <QStringList>

// The face the forms name (`rodzina`: "MS Sans Serif", or "Arial" for one group) at a height in
// pixels, as the installed face that stands in for it. The first call also registers the
// stand-ins as substitutes of those names, for fonts made from the names elsewhere.
QFont czcionkaFormularza(int piksele, const QString& rodzina = QStringLiteral("MS Sans Serif"));

// `czcionka` condensed just enough (by its stretch) that each of `wzory` is at most
// `szerokosc` pixels wide; unchanged when they fit already. Keeps the height, so the text
// stays as tall as the rest of the form.
QFont czcionkaMieszczaca(QFont czcionka, const QStringList& wzory, int szerokosc);
