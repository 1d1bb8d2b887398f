#include "keys/Trafienia.h"

#include "keys/TabelaKlawiszy.h"

ObszarKlawisza obszarKlawisza(int klawisz, const PolozeniePola& p) {
    const int gorny = klawisz >= 5 ? p.T - p.H : p.T;
    return {p.L, gorny, p.L + p.W, p.T + 2 * p.H};
}

std::optional<int> trafionyKlawisz(int warstwa, const std::array<PolozeniePola, 9>& pola, int x,
                                   int y) {
    for (int k = 0; k < 5; ++k)
        if (obszarKlawisza(k, pola[k]).zawiera(x, y))
            return k;
    if (warstwa == WarstwaLewyAlt || warstwa == WarstwaPrawyAlt)
        for (int k = 5; k < 9; ++k)
            if (obszarKlawisza(k, pola[k]).zawiera(x, y))
                return k;
    return std::nullopt;
}

int sasiedniKlawisz(int warstwa, int klawisz, Kierunek kierunek) {
    const int n = liczbaKlawiszy(warstwa);
    if (n == 0)
        return klawisz;
    if (klawisz < 0 || klawisz >= n)
        return 0;
    switch (kierunek) {
    case Kierunek::Prawo:
        return (klawisz + 1) % n;
    case Kierunek::Lewo:
        return (klawisz + n - 1) % n;
    case Kierunek::Dol:
        if (n > 5 && klawisz < 5)
            return klawisz == 0 ? 5 : klawisz + 4;
        return klawisz;
    case Kierunek::Gora:
        return klawisz >= 5 ? klawisz - 4 : klawisz;
    case Kierunek::Pierwszy:
        return 0;
    case Kierunek::Ostatni:
        return n - 1;
    }
    return klawisz;
}
