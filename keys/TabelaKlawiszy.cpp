#include "keys/TabelaKlawiszy.h"

#include "core/BladProgramu.h"

namespace {

// Register codes by key number; keys 5 to 8 exist only on the single-Alt layers. The left-Alt
// codes are the letters A to E and G to J (F is not a key), the right-Alt codes are the code
// page 852 codes of the characters printed on the keys.
constexpr std::array<std::uint8_t, 5> KodyBezposrednio = {176, 177, 178, 179, 180};
constexpr std::array<std::uint8_t, 9> KodyLewyAlt = {65, 66, 67, 68, 69, 71, 72, 73, 74};
constexpr std::array<std::uint8_t, 9> KodyPrawyAlt = {164, 38, 143, 37, 168, 41, 45, 43, 61};
constexpr std::array<std::uint8_t, 5> KodyLewyPrawyAlt = {214, 215, 216, 217, 218};

const char* const NazwyF[5] = {"F1", "F2", "F3", "F4", "F5"};
const char* const NazwyLewyAlt[9] = {"A", "B", "C", "D", "E", "G", "H", "I", "J"};
const char* const NazwyPrawyAlt[9] = {"Ą", "&", "Ć", "%", "Ę", ")", "-", "+", "="};

void sprawdzPozycje(int warstwa, int klawisz) {
    if (!istniejeKlawisz(warstwa, klawisz))
        throw BladProgramu(
            QStringLiteral("Nie ma klawisza %1 na warstwie %2.").arg(klawisz).arg(warstwa));
}

} // namespace

int liczbaKlawiszy(int warstwa) {
    switch (warstwa) {
    case WarstwaLewyPrawyAlt:
    case WarstwaBezposrednio:
        return 5;
    case WarstwaLewyAlt:
    case WarstwaPrawyAlt:
        return 9;
    default:
        return 0;
    }
}

bool istniejeKlawisz(int warstwa, int klawisz) {
    return klawisz >= 0 && klawisz < liczbaKlawiszy(warstwa);
}

std::uint8_t kodKlawisza(int warstwa, int klawisz) {
    sprawdzPozycje(warstwa, klawisz);
    switch (warstwa) {
    case WarstwaLewyPrawyAlt:
        return KodyLewyPrawyAlt[klawisz];
    case WarstwaLewyAlt:
        return KodyLewyAlt[klawisz];
    case WarstwaPrawyAlt:
        return KodyPrawyAlt[klawisz];
    default:
        return KodyBezposrednio[klawisz];
    }
}

std::optional<PozycjaKlawisza> pozycjaKodu(int kod) {
    for (int warstwa = 0; warstwa < 4; ++warstwa)
        for (int klawisz = 0; klawisz < liczbaKlawiszy(warstwa); ++klawisz)
            if (kodKlawisza(warstwa, klawisz) == kod)
                return PozycjaKlawisza{warstwa, klawisz};
    return std::nullopt;
}

QString nazwaKlawisza(int warstwa, int klawisz) {
    sprawdzPozycje(warstwa, klawisz);
    switch (warstwa) {
    case WarstwaLewyPrawyAlt:
        return QStringLiteral("LEWY+PR.ALT+") + QString::fromUtf8(NazwyF[klawisz]);
    case WarstwaLewyAlt:
        return QString::fromUtf8(NazwyLewyAlt[klawisz]);
    case WarstwaPrawyAlt:
        return QString::fromUtf8(NazwyPrawyAlt[klawisz]);
    default:
        return QString::fromUtf8(NazwyF[klawisz]);
    }
}

TDefKlawisza& TabelaKlawiszy::rekord(int warstwa, int klawisz) {
    sprawdzPozycje(warstwa, klawisz);
    switch (warstwa) {
    case WarstwaLewyPrawyAlt:
        return DefLewyPrawyAlt[klawisz];
    case WarstwaLewyAlt:
        return DefLewyAlt[klawisz];
    case WarstwaPrawyAlt:
        return DefPrawyAlt[klawisz];
    default:
        return DefBezposrednio[klawisz];
    }
}

TDefKlawisza TabelaKlawiszy::odczytaj(int warstwa, int klawisz) const {
    return const_cast<TabelaKlawiszy*>(this)->rekord(warstwa, klawisz);
}

void TabelaKlawiszy::zapisz(int warstwa, int klawisz, const TDefKlawisza& def) {
    rekord(warstwa, klawisz) = def;
}

void TabelaKlawiszy::wyczyscRodzaj(int warstwa, int klawisz) {
    rekord(warstwa, klawisz).Rodzaj = RodzajNiezdefiniowany;
}

void TabelaKlawiszy::wyczyscWszystkieRodzaje() {
    for (int warstwa = 0; warstwa < 4; ++warstwa)
        for (int klawisz = 0; klawisz < liczbaKlawiszy(warstwa); ++klawisz)
            wyczyscRodzaj(warstwa, klawisz);
}

int TabelaKlawiszy::liczbaPlatnosci(std::optional<PozycjaKlawisza> pominiety) const {
    int liczba = 0;
    for (int warstwa = 0; warstwa < 4; ++warstwa)
        for (int klawisz = 0; klawisz < liczbaKlawiszy(warstwa); ++klawisz) {
            if (pominiety && *pominiety == PozycjaKlawisza{warstwa, klawisz})
                continue;
            if (odczytaj(warstwa, klawisz).Rodzaj == RodzajPlatnosc)
                ++liczba;
        }
    return liczba;
}
