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
