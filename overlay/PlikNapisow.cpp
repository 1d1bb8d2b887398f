#include "overlay/PlikNapisow.h"

#include <QBuffer>
#include <QFile>
#include <algorithm>
#include <cstring>

#include "core/BladProgramu.h"
#include "core/KodyZnakow.h"
#include "core/OdczytPliku.h"
#include "core/ZapisPliku.h"

QByteArray zakodujPlikNapisow(const LinieNapisow& linie) {
    QByteArray wynik;
    for (const QString& l : linie) {
        wynik += tekstNa1250(l);
        wynik += "\r\n";
    }
    return wynik;
}

namespace {

// Collects the bytes of one line, keeping at most kNajdluzszaLinia of them and none after a
// NUL byte.
struct Linia {
    QByteArray bajty;
    bool uciete = false;

    void dodaj(const char* poczatek, qsizetype n) {
        if (uciete)
            return;
        const qsizetype miejsce = kNajdluzszaLinia - bajty.size();
        const qsizetype ile = std::min(n, miejsce);
        const char* zero = static_cast<const char*>(std::memchr(poczatek, '\0', ile));
        if (zero) {
            bajty.append(poczatek, zero - poczatek);
            uciete = true;
            return;
        }
        bajty.append(poczatek, ile);
        uciete = n > miejsce;
    }
};

} // namespace

LinieNapisow czytajPlikNapisow(QIODevice& plik) {
    LinieNapisow linie;
    int numer = 0;
    Linia biezaca;
    bool poCR = false;      // the last byte was a CR: a LF right after it belongs to that line end
    bool cokolwiek = false; // the current line has begun (bytes after the last line end)
    char bufor[65536];
    while (numer < kLiczbaNapisow) {
        const qint64 n = plik.read(bufor, sizeof bufor);
        if (n < 0) {
            const auto* f = qobject_cast<QFileDevice*>(&plik);
            throw BladProgramu(
                QStringLiteral("Błąd odczytu pliku \"%1\".").arg(f ? f->fileName() : QString()));
        }
        if (n == 0)
            break;
        qsizetype i = 0;
        while (i < n && numer < kLiczbaNapisow) {
            if (poCR) {
                poCR = false;
                if (bufor[i] == '\n') {
                    ++i;
                    continue;
                }
            }
            qsizetype j = i;
            while (j < n && bufor[j] != '\r' && bufor[j] != '\n')
                ++j;
            biezaca.dodaj(bufor + i, j - i);
            cokolwiek = cokolwiek || j > i;
            if (j == n)
                break;
            linie[numer++] = tekstZ1250(biezaca.bajty);
            biezaca = {};
            cokolwiek = false;
            poCR = bufor[j] == '\r';
            i = j + 1;
        }
    }
    // A last line without its line end still counts.
    if (numer < kLiczbaNapisow && cokolwiek)
        linie[numer] = tekstZ1250(biezaca.bajty);
    return linie;
}

LinieNapisow czytajPlikNapisow(const QByteArray& zawartosc) {
    QByteArray kopia(zawartosc);
    QBuffer bufor(&kopia);
    bufor.open(QIODevice::ReadOnly);
    return czytajPlikNapisow(bufor);
}

void zapiszPlikNapisow(const QString& sciezka, const LinieNapisow& linie) {
    zapiszBezpiecznie(sciezka, [&](QIODevice& plik) {
        const QByteArray dane = zakodujPlikNapisow(linie);
        return plik.write(dane) == dane.size();
    });
}

LinieNapisow wczytajPlikNapisow(const QString& sciezka) {
    return czytajPlikNapisow(wczytajZwyklyPlik(sciezka, kMaksPlikuNapisow));
}
