#include "keys/Kwoty.h"

#include <limits>

namespace {

bool cyfra(QChar z) {
    return z >= QLatin1Char('0') && z <= QLatin1Char('9');
}
bool separator(QChar z) {
    return z == QLatin1Char('.') || z == QLatin1Char(',');
}

struct Liczba {
    QString calosc;
    QString ulamek;
};

// Splits "digits[,digits]" with at least one digit in all; anything else is no number.
std::optional<Liczba> rozbierz(const QString& tekst) {
    const int przecinek = tekst.indexOf(QLatin1Char(','));
    Liczba l;
    l.calosc = przecinek < 0 ? tekst : tekst.left(przecinek);
    l.ulamek = przecinek < 0 ? QString() : tekst.mid(przecinek + 1);
    if (l.calosc.isEmpty() && l.ulamek.isEmpty())
        return std::nullopt;
    for (QChar z : l.calosc)
        if (!cyfra(z))
            return std::nullopt;
    for (QChar z : l.ulamek)
        if (!cyfra(z))
            return std::nullopt;
    return l;
}

// Adds one decimal digit to `wartosc`, failing instead of overflowing.
bool dopiszCyfre(std::int64_t& wartosc, int cyfra) {
    constexpr std::int64_t max = std::numeric_limits<std::int64_t>::max();
    if (wartosc > (max - cyfra) / 10)
        return false;
    wartosc = wartosc * 10 + cyfra;
    return true;
}

// The whole part of a number read by rozbierz(), or nothing when it does not fit 64 bits.
std::optional<std::int64_t> wartoscCalosci(const Liczba& liczba) {
    std::int64_t wynik = 0;
    for (QChar z : liczba.calosc)
        if (!dopiszCyfre(wynik, z.unicode() - '0'))
            return std::nullopt;
    return wynik;
}

} // namespace

QString FormatujKwote(const QString& tekst) {
    if (tekst.startsWith(QLatin1Char('-')))
        return QLatin1Char('-') + FormatujKwote(tekst.mid(1));
    switch (tekst.size()) {
    case 0:
        return QStringLiteral("0,00");
    case 1:
        return QStringLiteral("0,0") + tekst;
    case 2:
        return QStringLiteral("0,") + tekst;
    default:
        return tekst.left(tekst.size() - 2) + QLatin1Char(',') + tekst.right(2);
    }
}

bool NormalizujKwote(QString& tekst) {
    // Longer texts cannot be typed; they come from a stored amount put there for display.
    if (tekst.size() > 9)
        tekst.clear();
    int separatory = 0;
    int pozycja = -1;
    for (int i = 0; i < tekst.size(); ++i) {
        if (separator(tekst[i])) {
            ++separatory;
            pozycja = i;
        } else if (!cyfra(tekst[i])) {
            return false;
        }
    }
    if (separatory >= 2)
        return false;
    if (separatory == 0) {
        tekst += QStringLiteral(",00");
        return true;
    }
    const int n = int(tekst.size());
    if (pozycja == n - 2) {
        tekst[pozycja] = QLatin1Char(',');
        tekst += QLatin1Char('0');
        return true;
    }
    if (pozycja == n - 3) {
        tekst[pozycja] = QLatin1Char(',');
        return true;
    }
    return false;
}

std::optional<std::int64_t> KwotaWSetnych(const QString& tekst) {
    const auto liczba = rozbierz(tekst);
    if (!liczba)
        return std::nullopt;
    auto wynik = wartoscCalosci(*liczba);
    // Exactly two decimals; further ones are dropped, a missing one counts as 0.
    for (int i = 0; wynik && i < 2; ++i) {
        const int c = i < liczba->ulamek.size() ? liczba->ulamek[i].unicode() - '0' : 0;
        if (!dopiszCyfre(*wynik, c))
            return std::nullopt;
    }
    return wynik;
}

std::optional<std::int64_t> CzescCalkowita(const QString& tekst) {
    const auto liczba = rozbierz(tekst);
    return liczba ? wartoscCalosci(*liczba) : std::nullopt;
}

bool znakKwoty(QChar znak) {
    return (znak >= QLatin1Char('0') && znak <= QLatin1Char('9')) || znak == QLatin1Char('.') ||
           znak == QLatin1Char(',');
}

QString WstawienieDoKwoty(const QString& stary, const QString& nowy, int& kursor) {
    // What stayed of the old text at either end; the rest of the new text was inserted.
    qsizetype przed = 0;
    while (przed < stary.size() && przed < nowy.size() && stary[przed] == nowy[przed])
        ++przed;
    qsizetype po = 0;
    while (po < stary.size() - przed && po < nowy.size() - przed &&
           stary[stary.size() - 1 - po] == nowy[nowy.size() - 1 - po])
        ++po;
    const QString wstawione = nowy.mid(przed, nowy.size() - przed - po);
    QString wynik = nowy.left(przed);
    qsizetype miejsce = kDlugoscPolaKwoty - przed - po;
    for (QChar z : wstawione)
        if (znakKwoty(z) && miejsce-- > 0)
            wynik += z;
    kursor = static_cast<int>(wynik.size());
    return wynik + nowy.right(po);
}
