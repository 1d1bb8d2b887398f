#include "core/SkryptDialogi.h"

Dialogi::Przycisk SkryptDialogi::komunikat(QWidget*, const Komunikat& k) {
    pokazane.push_back({Pokazany::Rodzaj::Komunikat, k, {}});
    // A box with a single button needs no answer.
    if (k.przyciski == Ok || k.przyciski == Tak)
        return static_cast<Przycisk>(k.przyciski);
    if (odpowiedzi.empty()) {
        nieoczekiwane << QStringLiteral("pytanie: ") + k.tekst;
        return (k.przyciski & Nie) ? Nie : Anuluj;
    }
    const Przycisk p = odpowiedzi.front();
    odpowiedzi.pop_front();
    return p;
}

std::optional<QString> SkryptDialogi::otworzPlik(QWidget*, const WyborPliku& w) {
    pokazane.push_back({Pokazany::Rodzaj::OtworzPlik, {}, w});
    if (pliki.empty()) {
        nieoczekiwane << QStringLiteral("otwarcie pliku");
        return std::nullopt;
    }
    auto p = pliki.front();
    pliki.pop_front();
    return p;
}

std::optional<QString> SkryptDialogi::zapiszPlik(QWidget*, const WyborPliku& w) {
    pokazane.push_back({Pokazany::Rodzaj::ZapiszPlik, {}, w});
    if (pliki.empty()) {
        nieoczekiwane << QStringLiteral("zapis pliku");
        return std::nullopt;
    }
    auto p = pliki.front();
    pliki.pop_front();
    return p;
}

std::optional<Czcionka> SkryptDialogi::wybierzCzcionke(QWidget*, const Czcionka&) {
    pokazane.push_back({Pokazany::Rodzaj::Czcionka, {}, {}});
    if (czcionki.empty()) {
        nieoczekiwane << QStringLiteral("czcionka");
        return std::nullopt;
    }
    auto c = czcionki.front();
    czcionki.pop_front();
    return c;
}

bool SkryptDialogi::wybierzDrukarke(QWidget*, QPrinter& drukarka) {
    pokazane.push_back({Pokazany::Rodzaj::Drukarka, {}, {}});
    if (drukarki.empty()) {
        nieoczekiwane << QStringLiteral("drukarka");
        return false;
    }
    auto f = drukarki.front();
    drukarki.pop_front();
    return f(drukarka);
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
