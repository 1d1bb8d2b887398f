#include "transfer/TekstPliku.h"

#include <QIODevice>
#include <limits>

std::optional<std::int32_t> Liczba32(QByteArrayView tekst) {
    qsizetype i = 0;
    const bool minus = !tekst.isEmpty() && tekst[0] == '-';
    if (!tekst.isEmpty() && (tekst[0] == '-' || tekst[0] == '+'))
        i = 1;
    if (i == tekst.size())
        return std::nullopt;
    std::int64_t w = 0;
    for (; i < tekst.size(); ++i) {
        const char c = tekst[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        w = w * 10 + (c - '0');
        if (w > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1)
            return std::nullopt;
    }
    if (minus)
        w = -w;
    if (w > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(w);
}

bool CzytnikLinii::nastepna(QByteArray& linia, bool& zaDluga) {
    linia.clear();
    zaDluga = false;
    bool cokolwiek = false;
    char c = 0;
    while (znak(c)) {
        cokolwiek = true;
        if (c == '\n')
            return true;
        if (c == '\r') {
            char nastepny = 0;
            if (znak(nastepny) && nastepny != '\n')
                --m_pozycja; // the CR ended the line alone
            return true;
        }
        if (linia.size() < kMaksDlugoscLinii)
            linia.append(c);
        else
            zaDluga = true;
    }
    return cokolwiek;
}

bool CzytnikLinii::znak(char& c) {
    if (m_pozycja == m_bufor.size()) {
        m_bufor.resize(64 * 1024);
        const qint64 n = m_urzadzenie.read(m_bufor.data(), m_bufor.size());
        m_bufor.resize(n > 0 ? n : 0);
        m_pozycja = 0;
        m_blad = m_blad || n < 0;
        if (n <= 0)
            return false;
    }
    c = m_bufor[m_pozycja++];
    return true;
}
