#include "emulator/Emulator.h"

#include <algorithm>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace pixo::emulator {

bool Emulator::przygotuj(std::string& blad) {
    if (o_.mux) {
        for (const auto& k : o_.kanaly) {
            auto kasa = std::make_unique<Kasa>();
            const std::string folder =
                o_.stan.empty() ? "" : o_.stan + "/kanal" + std::to_string(k.kanal);
            if (!o_.stan.empty())
                ::mkdir(o_.stan.c_str(), 0755);
            std::string numer = k.numer;
            if (numer.empty() && (folder.empty() || ::access((folder + "/kasa.txt").c_str(), F_OK)))
                numer = "0" + std::to_string(k.kanal);
            if (!kasa->wczytaj(folder, k.model, numer, blad))
                return false;
            kasa->zlyNumer = o_.zlyNumer;
            kasy_[k.kanal] = std::move(kasa);
        }
    } else {
        auto kasa = std::make_unique<Kasa>();
        if (!kasa->wczytaj(o_.stan, o_.model, o_.numer, blad))
            return false;
        kasa->zlyNumer = o_.zlyNumer;
        kasy_[0] = std::move(kasa);
    }
    return otworzPty(blad);
}

Kasa* Emulator::kasaDocelowa() {
    const auto it = kasy_.find(o_.mux ? wybranyKanal_ : 0);
    return it == kasy_.end() ? nullptr : it->second.get();
}

bool Emulator::milczy() const {
    return o_.bezOdpowiedzi || (o_.mux && wybranyKanal_ == o_.kanalBezOdpowiedzi);
}

void Emulator::obsluzRamki(double t) {
    ramka::Ramka r;
    bool postep = false;
    while (dekoder_.nastepna(r)) {
        postep = true;
        obsluzRamke(r, t);
    }
    if (dekoder_.odrzucone() != odrzucone_ || udaneSmieci_) {
        odrzucone_ = dekoder_.odrzucone();
        udaneSmieci_ = false;
        czekaNaCisze_ = true;
        ostatnieSmieci_ = t;
    } else if (postep) {
        czekaNaCisze_ = false;
    }
}

void Emulator::sprawdzCisze(double t) {
    if (!czekaNaCisze_ || t < ostatnieSmieci_ + protokol::CISZA_PO_SMIECIACH_MS / 1000.0)
        return;
    czekaNaCisze_ = false;
    if (milczy())
        return;
    // Noise inside a message asks for the missing block; noise while no reply is going out
    // may have been a whole request that could not be read: that is asked for again too.
    const auto stan = odbiorca_.stan();
    if (stan != protokol::Odbiorca::Stan::WToku &&
        (stan != protokol::Odbiorca::Stan::Czeka || nadaje_))
        return;
    std::vector<std::uint8_t> odp;
    if (odbiorca_.cisza(odp) == protokol::Odbiorca::Stan::ZaDuzoBledow)
        odbiorca_.zacznij();
    kolejkuj(std::move(odp), false, t);
}

void Emulator::obsluzRamke(const ramka::Ramka& r, double t) {
    if (o_.gadatliwy)
        std::fprintf(stderr, "<- %c nr %u, %zu B%s\n", r.typ >= 32 ? r.typ : '?', r.nr,
                     r.dane.size(), r.poprawna ? "" : " (zła suma kontrolna)");
    if (r.typ == ramka::KANAL) {
        if (!r.poprawna)
            return;
        if (!o_.mux) { // a register does not know this frame; a silent one says nothing
            if (!o_.bezOdpowiedzi)
                kolejkuj(ramka::koduj(ramka::NAK, 0), false, t);
            return;
        }
        const int k = r.dane.empty() ? 0 : r.dane[0];
        const bool jest = kasy_.count(k) > 0;
        if (jest)
            wybranyKanal_ = k;
        kolejkuj(
            ramka::koduj(ramka::KANAL, 0,
                         {static_cast<std::uint8_t>(k), static_cast<std::uint8_t>(jest ? 0 : 1)}),
            false, t);
        return;
    }
    Kasa* kasa = kasaDocelowa();
    if (!kasa || milczy())
        return; // nobody there, or a register that stays silent
    if (r.typ == ramka::ACK || r.typ == ramka::NAK) {
        if (!nadaje_)
            return;
        if (nadawca_.potwierdzenie(r))
            usunNiewyslaneDane();
        if (nadawca_.stan() != protokol::Nadawca::Stan::WToku) {
            nadaje_ = false;
            return;
        }
        kolejkujOdpowiedz(t);
        return;
    }
    if (!ramka::typDanych(r.typ))
        return;
    ++odebraneRamki_;
    if (odebraneRamki_ == o_.nieczytelnaRaz) {
        udaneSmieci_ = true; // as if its bytes had been damaged beyond recognition
        return;
    }
    if (o_.nak || odebraneRamki_ == o_.nakRaz) {
        kolejkuj(ramka::koduj(ramka::NAK, r.nr), false, t);
        return;
    }
    if (r.poprawna && ramka::typPoczatku(r.typ) && nadaje_) {
        // A new request: the previous reply is abandoned.
        nadawca_.przerwij();
        nadaje_ = false;
        usunNiewyslaneDane();
    }
    std::vector<std::uint8_t> odp;
    const auto stan = odbiorca_.ramka(r, odp);
    kolejkuj(std::move(odp), false, t);
    if (stan == protokol::Odbiorca::Stan::Kompletna && ++zadania_ == o_.bezOdpowiedziRaz) {
        odbiorca_.zacznij(); // taken and acknowledged, but the reply is lost on the way
        return;
    }
    if (stan == protokol::Odbiorca::Stan::Kompletna) {
        // The exchange number comes first and goes back first; the register sees the rest.
        const std::vector<std::uint8_t>& z = odbiorca_.wiadomosc();
        const std::uint8_t nrWymiany = z.empty() ? 0 : z[0];
        std::vector<std::uint8_t> odpowiedz =
            kasa->obsluz(std::vector<std::uint8_t>(z.begin() + (z.empty() ? 0 : 1), z.end()));
        if (o_.gadatliwy && z.size() > 1)
            std::fprintf(stderr, "rozkaz %u (wymiana %u) -> status %u, błąd klawisza %u, %zu B\n",
                         z[1], nrWymiany, odpowiedz[1], odpowiedz[2], odpowiedz.size() - 3);
        odpowiedz.insert(odpowiedz.begin(), nrWymiany);
        odbiorca_.zacznij();
        nadawca_.zacznij(odpowiedz);
        nadaje_ = true;
        kolejkujOdpowiedz(t);
    } else if (stan == protokol::Odbiorca::Stan::ZaDuzoBledow ||
               stan == protokol::Odbiorca::Stan::ZaDluga) {
        odbiorca_.zacznij();
    }
}

void Emulator::kolejkujOdpowiedz(double t) {
    for (auto& f : nadawca_.doWyslania())
        kolejkuj(std::move(f), true, t);
}

void Emulator::kolejkuj(std::vector<std::uint8_t> bajty, bool dane, double t) {
    if (bajty.empty())
        return;
    if (dane && (o_.psujRamki || ++wyslaneBloki_ == o_.psujRaz))
        bajty.back() ^= 0x5A; // the frame check no longer matches
    DoWyslania w;
    w.nieWczesniej = t + o_.zwlokaMs / 1000.0;
    w.bajty = std::move(bajty);
    w.dane = dane;
    kolejka_.push_back(std::move(w));
}

void Emulator::usunNiewyslaneDane() {
    // The entry being written stays; blocks not yet started are stale after a go-back.
    auto start = kolejka_.begin();
    if (start != kolejka_.end() && start->wyslano > 0)
        ++start;
    kolejka_.erase(std::remove_if(start, kolejka_.end(),
                                  [](const DoWyslania& w) { return w.dane && w.wyslano == 0; }),
                   kolejka_.end());
}

} // namespace pixo::emulator
