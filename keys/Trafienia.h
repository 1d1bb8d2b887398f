#pragma once
// Which key a click on the overlay picture hits. The click areas follow the current position
// and size of each key's first label edit; all bounds are inclusive.

#include <array>
#include <optional>

// Directions in which the keyboard moves the selection on the overlay.
enum class Kierunek { Lewo, Prawo, Gora, Dol, Pierwszy, Ostatni };

// Left, top, width and height of a label edit, in the picture's coordinates.
struct PolozeniePola {
    int L = 0;
    int T = 0;
    int W = 0;
    int H = 0;
};

struct ObszarKlawisza {
    int lewy = 0;
    int gorny = 0;
    int prawy = 0;
    int dolny = 0;
    bool zawiera(int x, int y) const { return x >= lewy && x <= prawy && y >= gorny && y <= dolny; }
    bool operator==(const ObszarKlawisza&) const = default;
};

// Keys 0 to 4 cover their two label lines (T to T + 2H); keys 5 to 8, one line each, reach
// one line height above it as well (T - H to T + 2H).
ObszarKlawisza obszarKlawisza(int klawisz, const PolozeniePola& pole);

// The key hit at (x, y) on `warstwa`, given the first label edits of keys 0 to 8: keys 0 to 4
// are tried first, then keys 5 to 8 on the single-Alt layers only; the first hit wins.
std::optional<int> trafionyKlawisz(int warstwa, const std::array<PolozeniePola, 9>& pola, int x,
                                   int y);

// The key the keyboard moves the selection to from `klawisz` on `warstwa`: left and right go
// through the layer's keys in number order, wrapping around; up and down go between the rows
// (keys 5 to 8 lie under keys 1 to 4, and key 5 is the nearest under key 0); first and last are
// keys 0 and the layer's last. The key itself when there is none that way.
int sasiedniKlawisz(int warstwa, int klawisz, Kierunek kierunek);
