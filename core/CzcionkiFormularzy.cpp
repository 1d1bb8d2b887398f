#include "core/CzcionkiFormularzy.h"

#include <QFontMetrics>
#include <QRawFont>
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

// The face's own width as a stretch, from the width class of its OS/2 table (100 when it has
// none): Qt condenses a face by the stretch asked for over this.
int rozciagniecieKroju(const QFont& czcionka) {
    static constexpr int kKlasy[] = {50, 63, 75, 87, 100, 113, 125, 150, 200};
    const QByteArray os2 = QRawFont::fromFont(czcionka).fontTable("OS/2");
    if (os2.size() < 8)
        return 100;
    const int klasa = static_cast<uchar>(os2[6]) << 8 | static_cast<uchar>(os2[7]);
    return klasa >= 1 && klasa <= 9 ? kKlasy[klasa - 1] : 100;
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
    const QFontMetrics fm(czcionka);
    QList<int> szerokosci;
    szerokosci.reserve(wzory.size());
    for (const QString& w : wzory)
        szerokosci << fm.horizontalAdvance(w);
    const int naturalna =
        szerokosci.isEmpty() ? 0 : *std::max_element(szerokosci.begin(), szerokosci.end());
    if (naturalna <= szerokosc)
        return czcionka;
    // Condensing keeps the order of widths up to a pixel's rounding: only the widest texts
    // are measured again.
    QStringList najszersze;
    for (int i = 0; i < wzory.size(); ++i)
        if (szerokosci[i] >= naturalna - 2)
            najszersze << wzory[i];
    // Each face measured costs a font lookup (a good part of a millisecond), so the stretch is
    // computed from the face's own width; rounding may leave a pixel over, hence the last steps.
    int rozciagniecie = rozciagniecieKroju(czcionka) * szerokosc / naturalna;
    for (; rozciagniecie > 1; --rozciagniecie) {
        czcionka.setStretch(rozciagniecie);
        if (najszerszy(czcionka, najszersze) <= szerokosc)
            break;
    }
    return czcionka;
}
