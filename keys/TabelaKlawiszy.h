#pragma once
// The key definition table: one record per key position (Alt layer, key number), 28 in all.

#include <array>
#include <cstdint>
#include <optional>

#include <QString>

// Alt layers by the item index of rgAlty.
enum Warstwa : int {
    WarstwaLewyPrawyAlt = 0,
    WarstwaLewyAlt = 1,
    WarstwaPrawyAlt = 2,
    WarstwaBezposrednio = 3,
};

// Definition kinds by the item index of rgDefinicja.
enum Rodzaj : std::uint8_t {
    RodzajNiezdefiniowany = 0,
    RodzajTowar = 1,
    RodzajFunkcja = 2,
    RodzajPlatnosc = 3,
    RodzajWaluta = 4,
    RodzajRabatNarzut = 5,
};

struct TDefKlawisza {
    std::uint16_t Kod = 0;   // code the record was read with; never consulted by writers
    std::uint8_t Rodzaj = 0; // 0 to 5
    std::uint8_t Numer = 0;  // function, payment, currency or discount variant, from 1
    std::uint16_t PLU = 0;   // goods number, from 1
    std::uint8_t Pojedynczo = 0;
    std::uint8_t Zaplata = 0;
    std::uint8_t Paragon = 0;
    std::int64_t Wartosc = 0; // percent (variants 1, 2) or hundredths (variants 3, 4)
    std::int64_t Kwota = 0;   // hundredths
    std::uint8_t Zakres = 0;  // bit 0 item line, bit 1 receipt

    bool operator==(const TDefKlawisza&) const = default;
};

struct PozycjaKlawisza {
    int warstwa = WarstwaBezposrednio;
    int klawisz = 0;
    bool operator==(const PozycjaKlawisza&) const = default;
};

// Number of keys on a layer: 5 on the direct and both-Alts layers, 9 on the single-Alt ones.
int liczbaKlawiszy(int warstwa);
// Whether (warstwa, klawisz) is one of the 28 key positions.
bool istniejeKlawisz(int warstwa, int klawisz);

// The fixed register code of a key position.
std::uint8_t kodKlawisza(int warstwa, int klawisz);
// The key position of a register code, or none for a code outside the four tables.
std::optional<PozycjaKlawisza> pozycjaKodu(int kod);
// The name the editor panel shows for a key ("F1", "LEWY+PR.ALT+F1", "Ą", "&"...).
QString nazwaKlawisza(int warstwa, int klawisz);

class TabelaKlawiszy {
public:
    std::array<TDefKlawisza, 5> DefLewyPrawyAlt{};
    std::array<TDefKlawisza, 9> DefLewyAlt{};
    std::array<TDefKlawisza, 9> DefPrawyAlt{};
    std::array<TDefKlawisza, 5> DefBezposrednio{};

    // Record of (warstwa, klawisz); the position must exist.
    TDefKlawisza odczytaj(int warstwa, int klawisz) const;
    void zapisz(int warstwa, int klawisz, const TDefKlawisza& def);
    // Sets the kind to undefined and leaves the other fields as they are.
    void wyczyscRodzaj(int warstwa, int klawisz);
    void wyczyscWszystkieRodzaje();
    // Records of kind payment over all 28 positions, leaving out `pominiety` when given.
    int liczbaPlatnosci(std::optional<PozycjaKlawisza> pominiety = std::nullopt) const;

    bool operator==(const TabelaKlawiszy&) const = default;

private:
    TDefKlawisza& rekord(int warstwa, int klawisz);
};
