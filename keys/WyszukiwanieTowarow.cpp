#include "keys/WyszukiwanieTowarow.h"

#include <QRegularExpression>

namespace {

bool tylkoCyfry(const QString& s) {
    for (QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return !s.isEmpty();
}

// One word of a query in the form it is compared in, and which of the names' forms it is
// compared with.
struct Slowo {
    QString tekst;
    bool zeZnakami = false;
};

} // namespace

QString tekstDoSzukania(const QString& tekst, bool bezZnakow) {
    const QString zlozony = tekst.toCaseFolded();
    if (!bezZnakow)
        return zlozony;
    // Decomposed, a Polish letter is its base letter and a combining mark; "ł" has no
    // decomposition and is mapped by hand.
    const QString rozlozony = zlozony.normalized(QString::NormalizationForm_D);
    QString wynik;
    wynik.reserve(rozlozony.size());
    for (QChar c : rozlozony) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        wynik += c == u'ł' ? QChar(u'l') : c;
    }
    return wynik;
}

IndeksTowarow::IndeksTowarow(const QStringList& pozycje) {
    m_nazwy.reserve(pozycje.size());
    m_nazwyProste.reserve(pozycje.size());
    for (const QString& p : pozycje) {
        // The item is the number, a blank and the name.
        const qsizetype odstep = p.indexOf(u' ');
        const QString nazwa = odstep < 0 ? QString() : p.mid(odstep + 1);
        m_nazwy.push_back(tekstDoSzukania(nazwa, false));
        m_nazwyProste.push_back(tekstDoSzukania(nazwa, true));
    }
}

std::vector<int> IndeksTowarow::szukaj(const QString& zapytanie) const {
    static const QRegularExpression kOdstepy(QStringLiteral("\\s+"));
    const QStringList slowa = zapytanie.split(kOdstepy, Qt::SkipEmptyParts);
    std::vector<int> wynik;
    if (slowa.isEmpty())
        return wynik;
    const int n = liczba();
    std::vector<char> jest(static_cast<std::size_t>(n), 0);
    const auto dodaj = [&](int i) {
        if (!jest[static_cast<std::size_t>(i)]) {
            jest[static_cast<std::size_t>(i)] = 1;
            wynik.push_back(i);
        }
    };

    if (slowa.size() == 1 && tylkoCyfry(slowa[0])) {
        const QString& cyfry = slowa[0];
        bool liczbowe = false;
        const int numer = cyfry.toInt(&liczbowe);
        if (liczbowe && numer >= 1 && numer <= n)
            dodaj(numer - 1);
        for (int i = 0; i < n; ++i)
            if (QString::number(i + 1).startsWith(cyfry))
                dodaj(i);
    }

    std::vector<Slowo> szukane;
    for (const QString& s : slowa) {
        Slowo slowo{tekstDoSzukania(s, true), false};
        const QString zeZnakami = tekstDoSzukania(s, false);
        if (zeZnakami != slowo.tekst)
            slowo = {zeZnakami, true};
        szukane.push_back(slowo);
    }
    const auto nazwa = [&](int i, const Slowo& s) -> const QString& {
        return s.zeZnakami ? m_nazwy[static_cast<std::size_t>(i)]
                           : m_nazwyProste[static_cast<std::size_t>(i)];
    };
    std::vector<int> dalsze;
    for (int i = 0; i < n; ++i) {
        bool pasuje = true;
        for (const Slowo& s : szukane)
            if (!nazwa(i, s).contains(s.tekst)) {
                pasuje = false;
                break;
            }
        if (!pasuje)
            continue;
        if (nazwa(i, szukane.front()).startsWith(szukane.front().tekst))
            dodaj(i);
        else
            dalsze.push_back(i);
    }
    for (int i : dalsze)
        dodaj(i);
    return wynik;
}
