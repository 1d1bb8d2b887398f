#include "core/CzcionkiFormularzy.h"

#include <QFontMetrics>
#include <algorithm>

namespace {

const QString kRodzinaFormularzy = QStringLiteral("MS Sans Serif");

int najszerszy(const QFont& czcionka, const QStringList& wzory) {
    const QFontMetrics fm(czcionka);
    int szerokosc = 0;
    for (const QString& w : wzory)
        szerokosc = std::max(szerokosc, fm.horizontalAdvance(w));
    return szerokosc;
}

} // namespace

QFont czcionkaFormularza(int piksele) {
    // Measured at the forms' sizes: the narrow face with Arial's letter shapes fits every
    // caption; Arial's own metrics (and DejaVu Sans, fontconfig's default) cut the longest ones.
    static const bool zarejestrowane = [] {
        QFont::insertSubstitutions(kRodzinaFormularzy, {QStringLiteral("Liberation Sans Narrow"),
                                                        QStringLiteral("Arial Narrow"),
                                                        QStringLiteral("Liberation Sans")});
        return true;
    }();
    Q_UNUSED(zarejestrowane);
    QFont f(kRodzinaFormularzy);
    f.setPixelSize(piksele);
    return f;
}

QFont czcionkaMieszczaca(QFont czcionka, const QStringList& wzory, int szerokosc) {
    if (najszerszy(czcionka, wzory) <= szerokosc)
        return czcionka;
    // A stretch is relative to a face of normal width, whatever the face's own: measure at
    // 100 and scale from there; rounding may leave a pixel over, hence the last steps.
    czcionka.setStretch(100);
    int rozciagniecie = 100 * szerokosc / std::max(1, najszerszy(czcionka, wzory));
    for (; rozciagniecie > 1; --rozciagniecie) {
        czcionka.setStretch(rozciagniecie);
        if (najszerszy(czcionka, wzory) <= szerokosc)
            break;
    }
    return czcionka;
}
