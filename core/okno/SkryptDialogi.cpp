#include "core/okno/SkryptDialogi.h"

namespace {

template <typename T> T pobierz(std::deque<T>& kolejka) {
    T wynik(std::move(kolejka.front()));
    kolejka.pop_front();
    return wynik;
}

} // namespace

Dialogi::Przycisk SkryptDialogi::komunikat(QWidget*, const Komunikat& k) {
    pokazane.push_back({Pokazany::Rodzaj::Komunikat, k, {}, {}});
    // A box with a single button needs no answer.
    if (k.przyciski == Ok || k.przyciski == Tak)
        return static_cast<Przycisk>(k.przyciski);
    if (odpowiedzi.empty()) {
        nieoczekiwane << QStringLiteral("pytanie: ") + k.tekst;
        return (k.przyciski & Nie) ? Nie : Anuluj;
    }
    return pobierz(odpowiedzi);
}

std::optional<QString> SkryptDialogi::otworzPlik(QWidget*, const WyborPliku& w) {
    pokazane.push_back({Pokazany::Rodzaj::OtworzPlik, {}, w, {}});
    if (pliki.empty()) {
        nieoczekiwane << QStringLiteral("otwarcie pliku");
        return std::nullopt;
    }
    return pobierz(pliki);
}

std::optional<QString> SkryptDialogi::zapiszPlik(QWidget*, const WyborPliku& w) {
    pokazane.push_back({Pokazany::Rodzaj::ZapiszPlik, {}, w, {}});
    if (pliki.empty()) {
        nieoczekiwane << QStringLiteral("zapis pliku");
        return std::nullopt;
    }
    return pobierz(pliki);
}

std::optional<Czcionka> SkryptDialogi::wybierzCzcionke(QWidget*, const Czcionka& poczatkowa) {
    pokazane.push_back({Pokazany::Rodzaj::Czcionka, {}, {}, poczatkowa});
    if (czcionki.empty()) {
        nieoczekiwane << QStringLiteral("czcionka");
        return std::nullopt;
    }
    return pobierz(czcionki);
}

bool SkryptDialogi::wybierzDrukarke(QWidget*, QPrinter& drukarka) {
    pokazane.push_back({Pokazany::Rodzaj::Drukarka, {}, {}, {}});
    if (drukarki.empty()) {
        nieoczekiwane << QStringLiteral("drukarka");
        return false;
    }
    return pobierz(drukarki)(drukarka);
}

bool SkryptDialogi::podgladWydruku(QWidget*, QPrinter& drukarka,
                                   const std::function<void(QPrinter&)>& rysuj) {
    pokazane.push_back({Pokazany::Rodzaj::Podglad, {}, {}, {}});
    if (podglady.empty()) {
        nieoczekiwane << QStringLiteral("podgląd wydruku");
        return false;
    }
    return pobierz(podglady)(drukarka, rysuj);
}

QStringList SkryptDialogi::teksty() const {
    QStringList t;
    for (const auto& p : pokazane)
        if (p.rodzaj == Pokazany::Rodzaj::Komunikat)
            t << p.komunikat.tekst;
    return t;
}

Dialogi::Komunikat SkryptDialogi::ostatni() const {
    for (auto it = pokazane.rbegin(); it != pokazane.rend(); ++it)
        if (it->rodzaj == Pokazany::Rodzaj::Komunikat)
            return it->komunikat;
    return {};
}

void SkryptDialogi::wyczysc() {
    pokazane.clear();
    nieoczekiwane.clear();
}
