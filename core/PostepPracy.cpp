#include "core/PostepPracy.h"

#include <algorithm>
#include <cmath>

QString TekstPostepu(unsigned zrobione, unsigned calosc, const QString& jednostka) {
    if (calosc == 0)
        return {};
    return QStringLiteral("%1 z %2 %3").arg(zrobione).arg(calosc).arg(jednostka).trimmed();
}

std::optional<int> PozostaloSekund(unsigned zrobionePrzed, qint64 msPrzed, unsigned zrobione,
                                   qint64 msTeraz, unsigned calosc) {
    if (calosc == 0 || zrobione <= zrobionePrzed || msTeraz <= msPrzed)
        return std::nullopt;
    if (zrobione >= calosc)
        return 0;
    const double naPozycje = double(msTeraz - msPrzed) / double(zrobione - zrobionePrzed);
    return static_cast<int>(std::ceil(naPozycje * double(calosc - zrobione) / 1000.0));
}

QString TekstPozostalo(std::optional<int> sekundy) {
    if (!sekundy)
        return QStringLiteral("Pozostały czas: obliczanie...");
    if (*sekundy < 60)
        return QStringLiteral("Pozostało ok. %1 s").arg(*sekundy);
    return QStringLiteral("Pozostało ok. %1 min %2 s")
        .arg(*sekundy / 60)
        .arg(*sekundy % 60, 2, 10, QLatin1Char('0'));
}

StanPostepu CzytnikPostepu::odczytaj() {
    StanPostepu s;
    s.calosc = m_postep.calosc.load();
    s.zrobione = std::min(m_postep.zrobione.load(), s.calosc);
    const qint64 teraz = m_zegar.elapsed();
    if (s.calosc == 0) {
        s.czas = QStringLiteral("Czas: %1 s").arg(teraz / 1000);
        return s;
    }
    if (m_msPierwszego < 0) {
        m_pierwsze = s.zrobione;
        m_msPierwszego = teraz;
    }
    s.ilosc = TekstPostepu(s.zrobione, s.calosc, m_postep.jednostka);
    s.czas =
        TekstPozostalo(PozostaloSekund(m_pierwsze, m_msPierwszego, s.zrobione, teraz, s.calosc));
    return s;
}
