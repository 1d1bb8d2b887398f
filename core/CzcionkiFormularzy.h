#pragma once
// The faces of the program's forms. The forms are laid out for a narrow bitmap sans serif face
// ("MS Sans Serif") that Linux systems do not have; a stand-in of similar width keeps their
// captions inside the described control sizes.

#include <QFont>
#include <QStringList>

// The forms' face at a height in pixels. The first call registers the stand-in faces, in
// order of preference, for the family name the forms use.
QFont czcionkaFormularza(int piksele);

// `czcionka` condensed just enough (by its stretch) that each of `wzory` is at most
// `szerokosc` pixels wide; unchanged when they fit already. Keeps the height, so the text
// stays as tall as the rest of the form.
QFont czcionkaMieszczaca(QFont czcionka, const QStringList& wzory, int szerokosc);
