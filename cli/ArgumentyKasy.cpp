#include "cli/ArgumentyKasy.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

// A command: its name, whether a file name comes before the register numbers, whether it
// writes files (and so takes -o).
struct OpisPolecenia {
    const char* nazwa;
    Polecenie polecenie;
    bool zPlikiem;
    bool zFolderem;
};

constexpr OpisPolecenia kPolecenia[] = {
    {"odczyt", Polecenie::Odczyt, false, true},
    {"zapis", Polecenie::Zapis, true, false},
    {"kasowanie", Polecenie::Kasowanie, false, false},
    {"towary", Polecenie::Towary, false, true},
    {"porownaj", Polecenie::Porownaj, true, false},
    {"porównaj", Polecenie::Porownaj, true, false},
};

const OpisPolecenia* opisPolecenia(const QString& nazwa) {
    for (const OpisPolecenia& o : kPolecenia)
        if (nazwa == QString::fromUtf8(o.nazwa))
            return &o;
    return nullptr;
}

ArgumentyKasy zle(const QString& blad) {
    ArgumentyKasy a;
    a.blad = blad;
    return a;
}

} // namespace

ArgumentyKasy CzytajArgumenty(const QStringList& argumenty) {
    ZlecenieKasy z;
    QStringList pozycyjne;
    bool zFolderem = false;
    for (qsizetype i = 0; i < argumenty.size(); ++i) {
        QString a = argumenty[i];
        std::optional<QString> wartosc;
        if (a.startsWith(QLatin1String("--")) && a.contains(QLatin1Char('='))) {
            wartosc = a.mid(a.indexOf(QLatin1Char('=')) + 1);
            a.truncate(a.indexOf(QLatin1Char('=')));
        }
        const auto wez = [&]() -> std::optional<QString> {
            if (wartosc)
                return wartosc;
            if (i + 1 < argumenty.size())
                return argumenty[++i];
            return std::nullopt;
        };
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            ArgumentyKasy p;
            p.pomoc = true;
            return p;
        } else if (a == QLatin1String("-o") || a == QLatin1String("--folder")) {
            const auto w = wez();
            if (!w || w->isEmpty())
                return zle(QStringLiteral("opcja %1 wymaga nazwy folderu").arg(a));
            z.folder = *w;
            zFolderem = true;
        } else if (a == QLatin1String("--konfig")) {
            const auto w = wez();
            if (!w || w->isEmpty())
                return zle(QStringLiteral("opcja --konfig wymaga nazwy pliku"));
            z.konfiguracja = *w;
        } else if (a == QLatin1String("--wszystkie")) {
            z.wszystkie = true;
        } else if (a == QLatin1String("--tak")) {
            z.tak = true;
        } else if (a == QLatin1String("--json")) {
            z.json = true;
        } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            return zle(QStringLiteral("nieznana opcja %1").arg(argumenty[i]));
        } else {
            pozycyjne << a;
        }
    }

    if (pozycyjne.isEmpty())
        return zle(QStringLiteral("brak polecenia (odczyt, zapis, kasowanie, towary, porownaj)"));
    const OpisPolecenia* opis = opisPolecenia(pozycyjne.takeFirst());
    if (!opis)
        return zle(QStringLiteral("nieznane polecenie; są: odczyt, zapis, kasowanie, towary, "
                                  "porownaj"));
    z.polecenie = opis->polecenie;
    if (zFolderem && !opis->zFolderem)
        return zle(QStringLiteral("opcja -o dotyczy tylko poleceń odczyt i towary"));
    if (opis->zPlikiem) {
        if (pozycyjne.isEmpty())
            return zle(QStringLiteral("polecenie %1 wymaga pliku definicji klawiszy")
                           .arg(QString::fromUtf8(opis->nazwa)));
        z.plik = pozycyjne.takeFirst();
    }

    static const QRegularExpression kNumer(QStringLiteral("^[0-9]{1,2}$"));
    for (const QString& p : pozycyjne) {
        const int nr = p.toInt();
        if (!kNumer.match(p).hasMatch() || nr < 1)
            return zle(QStringLiteral("numer kasy musi być liczbą 1-99: %1").arg(p));
        if (std::find(z.kasy.begin(), z.kasy.end(), nr) == z.kasy.end())
            z.kasy.push_back(nr);
    }
    if (z.wszystkie && !z.kasy.empty())
        return zle(QStringLiteral("podaj numery kas albo --wszystkie, nie jedno i drugie"));
    if (!z.wszystkie && z.kasy.empty())
        return zle(QStringLiteral("podaj numery kas (np. 1 2 3) albo --wszystkie"));

    ArgumentyKasy wynik;
    wynik.zlecenie = z;
    return wynik;
}

QString NazwaPolecenia(Polecenie polecenie) {
    for (const OpisPolecenia& o : kPolecenia)
        if (o.polecenie == polecenie)
            return QString::fromUtf8(o.nazwa);
    return {};
}

QString TekstPomocy() {
    return QStringLiteral(
        R"(pixo-kasa - definicje klawiszy kas TALMO PIXO E z wiersza poleceń

Użycie:
  pixo-kasa odczyt KASA... [-o FOLDER]   odczyt definicji klawiszy z kas do plików
                                         FOLDER/kasa-NN.txt
  pixo-kasa zapis PLIK KASA...           zapis pliku definicji klawiszy do kas
                                         (plik jest najpierw sprawdzany; plik
                                         z błędną linią nie trafia do żadnej kasy)
  pixo-kasa kasowanie KASA...            kasowanie definicji klawiszy w kasach
                                         (z pytaniem, chyba że podano --tak)
  pixo-kasa towary KASA... [-o FOLDER]   odczyt bazy towarowej, płatności i walut
                                         do FOLDER/towary-NN.txt, plat-NN.txt,
                                         waluta-NN.txt
  pixo-kasa porownaj PLIK KASA...        różnice między plikiem a klawiaturą kasy,
                                         klawisz po klawiszu

KASA to numer kasy 1-99. Połączenie z każdą kasą (port, multiplekser i kanał,
szybkość, timeout) jest w pliku KONFIG.TXT bieżącego folderu, jedna linia na kasę
w postaci, w jakiej zapisuje ją program do definiowania klawiszy, np.
  $01	com1:57600:mux1:1	5
Port N to plik comN w bieżącym folderze, gdy istnieje (np. dowiązanie do
/dev/ttyUSB0), inaczej /dev/ttyS<N-1>. Gdy w bieżącym folderze leżą biblioteki
producenta kasy Kavrel.dll i Sevrin.dll, program używa ich przez Wine (mówi o tym
na standardowym wyjściu błędów).

Opcje:
  -o, --folder FOLDER  folder na odczytane pliki (domyślnie bieżący; tworzony,
                       gdy go nie ma)
  --konfig PLIK        inny plik konfiguracji zamiast KONFIG.TXT
  --wszystkie          wszystkie kasy z pliku konfiguracji zamiast numerów
  --tak                kasowanie bez pytania
  --json               wyniki jako jeden dokument JSON na standardowym wyjściu
  -h, --help           ta pomoc

Dla każdej kasy program wypisuje jedną linię: numer kasy i OK albo kod błędu
z opisem. Po błędzie jednej kasy przechodzi do następnej. Gdy standardowe
wyjście błędów jest terminalem, w trakcie pracy widać linię postępu.

Kod wyjścia: 0 - wszystkie kasy bez błędu (porownaj: wszystkie zgodne z plikiem);
1 - błąd co najmniej jednej kasy (porownaj: są różnice); 2 - nic nie wysłano
(błędny wiersz poleceń, plik lub konfiguracja, odmowa kasowania; porownaj:
także błąd kasy).

Przykład: ta sama klawiatura w czterech kasach i kopie ich klawiatur:
  pixo-kasa zapis klawisz.txt 1 2 3 4
  pixo-kasa odczyt 1 2 3 4 -o kopie
)");
}
