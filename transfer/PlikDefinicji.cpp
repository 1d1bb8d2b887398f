#include "transfer/PlikDefinicji.h"

#include <QBuffer>
#include <QFile>
#include <QIODevice>

#include "core/BladProgramu.h"
#include "core/KodyZnakow.h"
#include "core/OdczytPliku.h"
#include "core/ZapisPliku.h"
#include "transfer/TekstPliku.h"

namespace {

const QByteArray kKoniecLinii = QByteArrayLiteral("\r\n");

QByteArray liczbaTekstem(std::int64_t w) {
    return QByteArray::number(static_cast<qlonglong>(w));
}

QString nazwaUrzadzenia(const QIODevice& plik) {
    const auto* f = qobject_cast<const QFileDevice*>(&plik);
    return f ? f->fileName() : QString();
}

} // namespace

QByteArray PoleLinii(std::uint8_t n, QByteArrayView linia) {
    if (n == 0)
        return {};
    qsizetype poczatek = 0;
    for (int i = 1; i < n; ++i) {
        const qsizetype tab = linia.indexOf('\t', poczatek);
        if (tab < 0)
            return {};
        poczatek = tab + 1;
    }
    const qsizetype koniec = linia.indexOf('\t', poczatek);
    return linia.sliced(poczatek, (koniec < 0 ? linia.size() : koniec) - poczatek).toByteArray();
}

QByteArray NaglowekPliku(QByteArrayView nrKasy) {
    return QByteArray("#") + nrKasy.toByteArray() + kKoniecLinii + "#" + kKoniecLinii + "#" +
           kKoniecLinii;
}

QByteArray LiniaDefinicji(std::uint8_t kod, const TDefKlawisza& d) {
    QByteArray l = "$" + liczbaTekstem(kod) + "\t";
    const auto pola = [&](std::initializer_list<std::int64_t> wartosci) {
        for (std::int64_t w : wartosci)
            l += "\t" + liczbaTekstem(w);
    };
    switch (d.Rodzaj) {
    case RodzajTowar:
        l += "1";
        pola({d.PLU, d.Pojedynczo != 0, d.Zaplata != 0, d.Paragon != 0});
        break;
    case RodzajFunkcja:
        l += "2";
        pola({d.Numer});
        l += "\t"; // the register's own files end a function line so
        break;
    case RodzajPlatnosc:
    case RodzajWaluta:
        l += "3";
        pola({d.Numer, d.Kwota, d.Rodzaj == RodzajWaluta ? 1 : 0});
        break;
    case RodzajRabatNarzut:
        // Variants 1 and 2 are percentages (type 4), 3 and 4 amounts (type 5); the odd ones
        // discounts, the even ones markups.
        l += d.Numer <= 2 ? "4" : "5";
        pola({d.Numer % 2 == 0 ? 1 : 0, d.Wartosc, d.Zakres & 1, (d.Zakres >> 1) & 1});
        break;
    default:
        l += "0";
        break;
    }
    return l;
}

QByteArray TekstPlikuDefinicji(const TabelaKlawiszy& tabela, const QString& nrKasy) {
    QByteArray t = NaglowekPliku(nrKasy.toLatin1());
    const auto linia = [&](int warstwa, int klawisz) {
        t += LiniaDefinicji(kodKlawisza(warstwa, klawisz), tabela.odczytaj(warstwa, klawisz)) +
             kKoniecLinii;
    };
    for (int k = 0; k < 9; ++k) {
        if (k <= 4)
            linia(WarstwaBezposrednio, k);
        linia(WarstwaLewyAlt, k);
        linia(WarstwaPrawyAlt, k);
        if (k <= 4)
            linia(WarstwaLewyPrawyAlt, k);
    }
    return t;
}

QByteArray TekstZadaniaOdczytu(std::uint8_t nrKasy) {
    return NaglowekPliku(liczbaTekstem(nrKasy));
}

QByteArray TekstListyKasowania(const QString& nrKasy) {
    QByteArray t = NaglowekPliku(nrKasy.toLatin1());
    for (int warstwa : {WarstwaBezposrednio, WarstwaPrawyAlt, WarstwaLewyAlt, WarstwaLewyPrawyAlt})
        for (int k = 0; k < liczbaKlawiszy(warstwa); ++k)
            t += "$" + liczbaTekstem(kodKlawisza(warstwa, k)) + kKoniecLinii;
    return t;
}

namespace {

void zapiszTekst(const QString& sciezka, const QByteArray& tekst) {
    zapiszBezpiecznie(sciezka, [&](QIODevice& plik) { return plik.write(tekst) == tekst.size(); });
}

} // namespace

bool UtworzPlikWejsciowy(const QString& nazwa, std::uint8_t nrKasy) {
    try {
        zapiszTekst(nazwa, TekstZadaniaOdczytu(nrKasy));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void ZapiszPlikDefinicji(const QString& sciezka, const TabelaKlawiszy& tabela,
                         const QString& nrKasy) {
    zapiszTekst(sciezka, TekstPlikuDefinicji(tabela, nrKasy));
}

void ZapiszListeKasowania(const QString& sciezka, const QString& nrKasy) {
    zapiszTekst(sciezka, TekstListyKasowania(nrKasy));
}

std::optional<TDefKlawisza> CzytajLinieDefinicji(QByteArrayView linia) {
    if (linia.size() > kMaksDlugoscLinii)
        return std::nullopt;
    const auto pole = [&](std::uint8_t n) { return Liczba32(PoleLinii(n, linia)); };
    const QByteArray pierwsze = PoleLinii(1, linia);
    // The marker character ("$") is not looked at.
    const auto kod =
        Liczba32(pierwsze.size() >= 2 ? QByteArrayView(pierwsze).sliced(1) : QByteArrayView());
    const auto typ = pole(2);
    // A number that would not fit its field is refused: cut to the field it would name
    // another key or goods item, and the file would be written back as a valid one.
    const auto miesci16 = [](std::int32_t w) { return w >= 0 && w <= 0xffff; };
    if (!kod || !typ || !miesci16(*kod))
        return std::nullopt;

    TDefKlawisza d;
    d.Kod = static_cast<std::uint16_t>(*kod);
    const auto flaga = [](const std::optional<std::int32_t>& f) {
        return f && (*f == 0 || *f == 1);
    };
    switch (*typ) {
    case 0:
        d.Rodzaj = RodzajNiezdefiniowany;
        return d;
    case 1: {
        const auto plu = pole(3), pojedynczo = pole(4), zaplata = pole(5), paragon = pole(6);
        if (!plu || !miesci16(*plu) || !flaga(pojedynczo) || !flaga(zaplata) || !flaga(paragon))
            return std::nullopt;
        d.Rodzaj = RodzajTowar;
        d.PLU = static_cast<std::uint16_t>(*plu);
        d.Pojedynczo = static_cast<std::uint8_t>(*pojedynczo);
        d.Zaplata = static_cast<std::uint8_t>(*zaplata);
        d.Paragon = static_cast<std::uint8_t>(*paragon);
        return d;
    }
    case 2: {
        const auto numer = pole(3);
        if (!numer || *numer < 0 || *numer > 40)
            return std::nullopt;
        d.Rodzaj = RodzajFunkcja;
        d.Numer = static_cast<std::uint8_t>(*numer);
        return d;
    }
    case 3: {
        const auto numer = pole(3), kwota = pole(4), waluta = pole(5);
        if (!numer || !kwota || !waluta || *numer < 0 || *numer > 8 || *kwota < 0)
            return std::nullopt;
        d.Rodzaj = *waluta == 1 ? RodzajWaluta : RodzajPlatnosc;
        d.Numer = static_cast<std::uint8_t>(*numer);
        d.Kwota = *kwota;
        return d;
    }
    case 4:
    case 5: {
        const auto narzut = pole(3), wartosc = pole(4), pozycja = pole(5), paragon = pole(6);
        if (!narzut || !wartosc || !flaga(pozycja) || !flaga(paragon))
            return std::nullopt;
        d.Rodzaj = RodzajRabatNarzut;
        d.Numer = static_cast<std::uint8_t>((*typ == 4 ? 1 : 3) + (*narzut != 0 ? 1 : 0));
        d.Wartosc = *wartosc;
        d.Zakres = static_cast<std::uint8_t>(*pozycja + 2 * *paragon);
        return d;
    }
    default:
        // No register knows such a line; taking it for an undefined key would lose it silently.
        return std::nullopt;
    }
}

QString TekstZlejLinii(const QByteArray& linia) {
    QString t = tekstZ1250(linia);
    for (QChar& c : t)
        if (c.unicode() < 0x20 && c != QLatin1Char('\t'))
            c = QChar::ReplacementCharacter;
    return t;
}

OdczytDefinicji CzytajDefinicje(QIODevice& plik, const TabelaKlawiszy& poprzednia) {
    OdczytDefinicji wynik{poprzednia, std::nullopt, 0, QByteArray()};
    wynik.tabela.wyczyscWszystkieRodzaje();
    CzytnikLinii czytnik(plik);
    QByteArray linia;
    bool zaDluga = false;
    int numer = 1;
    for (; czytnik.nastepna(linia, zaDluga); ++numer) {
        std::optional<TDefKlawisza> def;
        if (numer == 1)
            wynik.pierwszaLinia = linia;
        if (!zaDluga && numer <= 3)
            continue; // the header is not looked at
        if (!zaDluga)
            def = CzytajLinieDefinicji(linia);
        if (!def) {
            wynik.zlaLinia = linia;
            wynik.numerZlejLinii = numer;
            return wynik;
        }
        if (const auto poz = pozycjaKodu(def->Kod))
            wynik.tabela.zapisz(poz->warstwa, poz->klawisz, *def);
    }
    if (czytnik.bladOdczytu())
        throw BladProgramu(QStringLiteral("Nie można odczytać pliku \"%1\": %2.")
                               .arg(nazwaUrzadzenia(plik), plik.errorString()));
    if (numer <= 3) {
        // Cut short before its header ended (an empty file, KONFIG.TXT picked by mistake):
        // no keyboard of undefined keys, but the missing line.
        wynik.zlaLinia = QByteArray();
        wynik.numerZlejLinii = numer;
    }
    return wynik;
}

OdczytDefinicji CzytajPlikDefinicji(const QString& sciezka, const TabelaKlawiszy& poprzednia) {
    QByteArray tresc = wczytajZwyklyPlik(sciezka, kMaksPlikuDefinicji);
    QBuffer plik(&tresc);
    plik.open(QIODevice::ReadOnly);
    return CzytajDefinicje(plik, poprzednia);
}
