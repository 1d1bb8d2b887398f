#include "core/KodyZnakow.h"

#include <QHash>
#include <array>
#include <cerrno>
#include <iconv.h>

namespace {

// A single-byte code page as two lookup tables built once from the system's iconv, so that
// no table of the code pages is written out here.
class StronaKodowa {
public:
    explicit StronaKodowa(const char* nazwa) {
        iconv_t cd = iconv_open("UTF-32LE", nazwa);
        for (int b = 0; b < 256; ++b) {
            char32_t znak = 0xFFFFFFFFu;
            if (cd != reinterpret_cast<iconv_t>(-1)) {
                char wej = static_cast<char>(b);
                char wyj[8] = {};
                char* pWej = &wej;
                char* pWyj = wyj;
                size_t zostaloWej = 1, zostaloWyj = sizeof wyj;
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
                if (iconv(cd, &pWej, &zostaloWej, &pWyj, &zostaloWyj) != static_cast<size_t>(-1) &&
                    zostaloWyj == sizeof wyj - 4) {
                    znak = static_cast<unsigned char>(wyj[0]) |
                           static_cast<unsigned char>(wyj[1]) << 8 |
                           static_cast<unsigned char>(wyj[2]) << 16 |
                           static_cast<char32_t>(static_cast<unsigned char>(wyj[3])) << 24;
                }
            }
            // Bytes the code page leaves undefined read as the control character of the same
            // number, the way Windows reads them.
            if (znak == 0xFFFFFFFFu)
                znak = static_cast<char32_t>(b);
            m_znaki[b] = znak;
        }
        if (cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd);
        for (int b = 255; b >= 0; --b)
            m_bajty.insert(m_znaki[b], static_cast<char>(b));
    }

    QString dekoduj(const QByteArray& bajty) const {
        QString wynik;
        wynik.reserve(bajty.size());
        for (char c : bajty) {
            const char32_t z = m_znaki[static_cast<unsigned char>(c)];
            if (z < 0x10000) {
                wynik.append(QChar(static_cast<char16_t>(z)));
            } else {
                const char32_t zz[1] = {z};
                wynik.append(QString::fromUcs4(zz, 1));
            }
        }
        return wynik;
    }

    QByteArray koduj(const QString& tekst) const {
        QByteArray wynik;
        wynik.reserve(tekst.size());
        for (char32_t z : tekst.toUcs4()) {
            const auto it = m_bajty.constFind(z);
            wynik.append(it == m_bajty.constEnd() ? '?' : *it);
        }
        return wynik;
    }

    bool zawiera(const QString& tekst) const {
        for (char32_t z : tekst.toUcs4())
            if (!m_bajty.contains(z))
                return false;
        return true;
    }

private:
    std::array<char32_t, 256> m_znaki{};
    QHash<char32_t, char> m_bajty;
};

const StronaKodowa& strona1250() {
    static const StronaKodowa s("CP1250");
    return s;
}

const StronaKodowa& strona852() {
    static const StronaKodowa s("CP852");
    return s;
}

} // namespace

unsigned char Znak852Na1250(unsigned char c) {
    switch (c) {
    case 0x86:
        return 0xE6; // ć
    case 0x88:
        return 0xB3; // ł
    case 0x8D:
        return 0x8F; // Ź
    case 0x8F:
        return 0xC6; // Ć
    case 0x97:
        return 0x8C; // Ś
    case 0x98:
        return 0x9C; // ś
    case 0x9D:
        return 0xA3; // Ł
    case 0xA2:
        return 0xF3; // ó
    case 0xA4:
        return 0xA5; // Ą
    case 0xA5:
        return 0xB9; // ą
    case 0xA8:
        return 0xCA; // Ę
    case 0xA9:
        return 0xEA; // ę
    case 0xAB:
        return 0x9F; // ź
    case 0xBD:
        return 0xAF; // Ż
    case 0xBE:
        return 0xBF; // ż
    case 0xE0:
        return 0xD3; // Ó
    case 0xE3:
        return 0xD1; // Ń
    case 0xE4:
        return 0xF1; // ń
    default:
        return c;
    }
}

QByteArray Tekst852Na1250(const QByteArray& s) {
    QByteArray wynik(s);
    for (char& c : wynik)
        c = static_cast<char>(Znak852Na1250(static_cast<unsigned char>(c)));
    return wynik;
}

QString tekstZ1250(const QByteArray& bajty) {
    return strona1250().dekoduj(bajty);
}

QByteArray tekstNa1250(const QString& tekst) {
    return strona1250().koduj(tekst);
}

bool daSieZapisacW1250(const QString& tekst) {
    return strona1250().zawiera(tekst);
}

QString tekstZ852(const QByteArray& bajty) {
    return strona852().dekoduj(bajty);
}

QByteArray tekstNa852(const QString& tekst) {
    return strona852().koduj(tekst);
}
