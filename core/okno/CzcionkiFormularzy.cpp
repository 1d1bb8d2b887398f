#include "core/okno/CzcionkiFormularzy.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QHash>
#include <QRawFont>
#include <algorithm>

namespace {

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

QFont czcionkaFormularza(int piksele, const QString& rodzina) {
    // Measured at the forms' sizes: the narrow face with Arial's letter shapes fits every
    // caption; Arial's own metrics (and DejaVu Sans, fontconfig's default) cut the longest ones.
    static const QList<QPair<QString, QStringList>> kZastepcze = {
        {QStringLiteral("MS Sans Serif"),
         {QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Arial Narrow"),
          QStringLiteral("Liberation Sans")}},
        {QStringLiteral("Arial"), {QStringLiteral("Arial"), QStringLiteral("Liberation Sans")}},
    };
    // A face asked for by an installed name is found at once; a missing name costs a search
    // of the whole font configuration for every size, so the stand-in is named directly. The
    // installed names are looked up in the family list itself: hasFamily() resolves every name
    // through the font configuration's aliases first, a search as costly as a missing name's.
    static const QHash<QString, QString> kWybrane = [] {
        QHash<QString, QString> wybrane;
        const QStringList zainstalowane = QFontDatabase::families();
        for (const auto& [opisana, zastepcze] : kZastepcze) {
            QFont::insertSubstitutions(opisana, zastepcze);
            for (const QString& z : zastepcze)
                if (zainstalowane.contains(z, Qt::CaseInsensitive)) {
                    wybrane.insert(opisana, z);
                    break;
                }
        }
        return wybrane;
    }();
    QFont f(kWybrane.value(rodzina, rodzina));
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
