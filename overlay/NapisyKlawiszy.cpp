#include "overlay/NapisyKlawiszy.h"

#include "core/KodyZnakow.h"

const std::array<int, kLiczbaNapisow> kKolejnoscPliku = {0, 2, 4, 6,  8,  1,  3,
                                                         5, 7, 9, 10, 11, 12, 13};

int indeksNapisu(int klawisz, int linia) {
    if (klawisz < 5)
        return 2 * klawisz + (linia == 1 ? 1 : 0);
    return 5 + klawisz;
}

bool napisJednoliniowy(int indeks) {
    return indeks >= 10;
}

namespace {

QString pozycjaListy(const QStringList& lista, int numer) {
    // Numbers count from 1; 0 or a number past the list's end gives no text.
    if (numer < 1 || numer > lista.size())
        return {};
    return lista.at(numer - 1);
}

} // namespace

std::optional<QString> napisDefinicji(const TDefKlawisza& def, const ZrodlaNapisow& zrodla) {
    switch (def.Rodzaj) {
    case RodzajNiezdefiniowany:
        return QString();
    case RodzajTowar:
        // PLU numbers beyond the goods list (a file may hold any number) have no name.
        if (!zrodla.towary || def.PLU >= zrodla.towary->size())
            return QString();
        return tekstZ1250(Tekst852Na1250((*zrodla.towary)[def.PLU]));
    case RodzajFunkcja:
        // The items read "NN   name": the name begins at the sixth character.
        return pozycjaListy(zrodla.funkcje, def.Numer).mid(5);
    case RodzajPlatnosc:
        return pozycjaListy(zrodla.platnosci, def.Numer);
    case RodzajWaluta:
        return pozycjaListy(zrodla.waluty, def.Numer);
    default:
        return std::nullopt;
    }
}

QString skrocNapis(const QString& tekst) {
    return tekst.left(kDlugoscWypelnienia);
}

namespace {

void wypelnijNapis(StanNapisu& napis, const TDefKlawisza& def, const ZrodlaNapisow& zrodla,
                   bool wszystkie) {
    if (!wszystkie && !napis.tekst.isEmpty())
        return;
    if (const auto tekst = napisDefinicji(def, zrodla)) {
        napis.tekst = *tekst;
        napis.widoczny = true;
    }
    napis.tekst = skrocNapis(napis.tekst);
}

} // namespace

void WypelnijNapisy(Napisy& napisy, const TabelaKlawiszy& tabela, int warstwa,
                    const ZrodlaNapisow& zrodla, bool wszystkie) {
    for (int klawisz = 0; klawisz < 5; ++klawisz)
        wypelnijNapis(napisy[indeksNapisu(klawisz)], tabela.DefBezposrednio[klawisz], zrodla,
                      wszystkie);
    if (warstwa != WarstwaLewyAlt && warstwa != WarstwaPrawyAlt)
        return;
    const auto& def = warstwa == WarstwaLewyAlt ? tabela.DefLewyAlt : tabela.DefPrawyAlt;
    for (int klawisz = 5; klawisz < 9; ++klawisz)
        wypelnijNapis(napisy[indeksNapisu(klawisz)], def[klawisz], zrodla, wszystkie);
}
