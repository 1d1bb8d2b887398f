#include "keys/OpisDefinicji.h"

#include <QHash>
#include <QIODevice>
#include <QXmlStreamReader>

#include "core/BladProgramu.h"
#include "keys/Kwoty.h"

namespace {

// The texts of every widget of a form by its name: a combo box's items, a radio group's items
// or a control's caption, in the order they are written.
QHash<QString, QStringList> tekstyWidzetow(QIODevice& formularz) {
    QHash<QString, QStringList> teksty;
    QXmlStreamReader xml(&formularz);
    QStringList widzety;                 // the widgets we are inside, innermost last
    std::vector<int> glebokosciWidzetow; // the element depth of each
    QString wlasciwosc;                  // the property we are inside
    int glebokoscWlasciwosci = -1;       // its element depth
    int glebokosc = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            ++glebokosc;
            if (xml.name() == QLatin1String("widget")) {
                widzety << xml.attributes().value(QLatin1String("name")).toString();
                glebokosciWidzetow.push_back(glebokosc);
            } else if (xml.name() == QLatin1String("property") && glebokoscWlasciwosci < 0) {
                wlasciwosc = xml.attributes().value(QLatin1String("name")).toString();
                glebokoscWlasciwosci = glebokosc;
            } else if (xml.name() == QLatin1String("string") && !widzety.isEmpty() &&
                       (wlasciwosc == QLatin1String("items") ||
                        wlasciwosc == QLatin1String("text"))) {
                // A combo box's items are "text" properties inside <item> elements.
                teksty[widzety.last()] << xml.readElementText();
                --glebokosc;
            }
        } else if (xml.isEndElement()) {
            if (glebokosc == glebokoscWlasciwosci) {
                glebokoscWlasciwosci = -1;
                wlasciwosc.clear();
            }
            if (!glebokosciWidzetow.empty() && glebokosc == glebokosciWidzetow.back()) {
                glebokosciWidzetow.pop_back();
                widzety.removeLast();
            }
            --glebokosc;
        }
    }
    if (xml.hasError())
        throw BladProgramu(
            QStringLiteral("Formularz okna jest nieczytelny: %1.").arg(xml.errorString()));
    return teksty;
}

QStringList wez(const QHash<QString, QStringList>& teksty, const char* nazwa) {
    const QStringList t = teksty.value(QLatin1String(nazwa));
    if (t.isEmpty())
        throw BladProgramu(
            QStringLiteral("Formularz okna nie ma kontrolki %1.").arg(QLatin1String(nazwa)));
    return t;
}

QString pozycja(const QStringList& lista, int numer) {
    if (numer < 1 || numer > lista.size())
        return QStringLiteral("numer %1 spoza listy").arg(numer);
    return lista.at(numer - 1).simplified();
}

QString kwota(std::int64_t setne) {
    return FormatujKwote(QString::number(setne));
}

} // namespace

ListyPanelu CzytajListyPanelu(QIODevice& formularz) {
    const QHash<QString, QStringList> t = tekstyWidzetow(formularz);
    ListyPanelu l;
    l.rodzaje = wez(t, "rgDefinicja");
    l.funkcje = wez(t, "cbFunkcja");
    l.platnosci = wez(t, "cbPlatnosc");
    l.waluty = wez(t, "cbWaluta");
    l.warianty = wez(t, "cbRabatNarzut");
    l.zakresy = wez(t, "cbRodzaj");
    l.pojedynczo = wez(t, "cbPojedynczo").first();
    l.zaplata = wez(t, "cbZaplata").first();
    l.paragon = wez(t, "cbParagon").first();
    return l;
}

QString OpisDefinicji(const TDefKlawisza& def, const ListyPanelu& l) {
    // A kind outside the six shows as undefined, as on the panel.
    const int rodzaj =
        def.Rodzaj <= RodzajRabatNarzut ? int(def.Rodzaj) : int(RodzajNiezdefiniowany);
    const QString nazwa = pozycja(l.rodzaje, rodzaj + 1);
    QStringList czesci;
    switch (rodzaj) {
    case RodzajTowar:
        czesci << QStringLiteral("PLU %1").arg(def.PLU);
        for (const auto& [zaznaczony, napis] :
             {std::pair{def.Pojedynczo, l.pojedynczo}, std::pair{def.Zaplata, l.zaplata},
              std::pair{def.Paragon, l.paragon}})
            if (zaznaczony)
                czesci << napis.toLower();
        break;
    case RodzajFunkcja:
        czesci << pozycja(l.funkcje, def.Numer);
        break;
    case RodzajPlatnosc:
        czesci << pozycja(l.platnosci, def.Numer)
               << QStringLiteral("kwota %1 zł").arg(kwota(def.Kwota));
        break;
    case RodzajWaluta:
        czesci << pozycja(l.waluty, def.Numer) << QStringLiteral("kwota %1").arg(kwota(def.Kwota));
        break;
    case RodzajRabatNarzut:
        czesci << pozycja(l.warianty, def.Numer)
               << (def.Numer <= 2 ? QStringLiteral("procent %1").arg(def.Wartosc)
                                  : QStringLiteral("kwota %1").arg(kwota(def.Wartosc)))
               << pozycja(l.zakresy, def.Zakres);
        break;
    default:
        return nazwa;
    }
    return nazwa + QStringLiteral(": ") + czesci.join(QStringLiteral(", "));
}
