// The frame codec, the result-code mapping, the payload encodings and the transfer state
// machines, without a line: frames are passed by hand or through a simulated noisy line.

#include <QTest>
#include <random>

#include "link/common/Protokol.h"
#include "link/common/Ramka.h"

using namespace pixo;
using Bajty = std::vector<std::uint8_t>;

namespace {

std::vector<ramka::Ramka> dekoduj(const Bajty& b, std::size_t kawalek = 0) {
    ramka::Dekoder d;
    std::vector<ramka::Ramka> w;
    ramka::Ramka r;
    const std::size_t krok = kawalek == 0 ? b.size() : kawalek;
    for (std::size_t i = 0; i < b.size(); i += krok) {
        d.dodaj(b.data() + i, std::min(krok, b.size() - i));
        while (d.nastepna(r))
            w.push_back(r);
    }
    return w;
}

Bajty losowe(std::mt19937& g, std::size_t n) {
    Bajty b(n);
    for (auto& x : b)
        x = static_cast<std::uint8_t>(g());
    return b;
}

} // namespace

class TestRamka : public QObject {
    Q_OBJECT
private slots:
    void sumyKontrolneZnanychWartosci() {
        const std::uint8_t t[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
        QCOMPARE(ramka::crc16(t, 9), std::uint16_t(0x29B1));
        QCOMPARE(ramka::crc8(t, 9), std::uint8_t(0xF4));
        // The identification request exactly as docs/protocol.md shows it.
        QCOMPARE(ramka::koduj(ramka::JEDYNA, 0, {254}),
                 (Bajty{0x01, 0x4A, 0x00, 0x01, 0x00, 0x12, 0xFE, 0xFF, 0x76}));
    }

    void ramkiPrzechodzaWKawalkachIWsrodSmieci() {
        std::mt19937 g(7);
        Bajty linia;
        std::vector<Bajty> dane;
        for (int i = 0; i < 40; ++i) {
            const Bajty smieci = losowe(g, g() % 30);
            linia.insert(linia.end(), smieci.begin(), smieci.end());
            dane.push_back(losowe(g, g() % (ramka::MAKS_DANYCH + 1)));
            ramka::koduj(ramka::BLOK, static_cast<std::uint8_t>(i), dane.back().data(),
                         dane.back().size(), linia);
        }
        for (std::size_t kawalek : {std::size_t(0), std::size_t(1), std::size_t(7)}) {
            const auto w = dekoduj(linia, kawalek);
            std::vector<ramka::Ramka> dobre;
            for (const auto& r : w)
                if (r.poprawna)
                    dobre.push_back(r);
            QCOMPARE(dobre.size(), dane.size());
            for (std::size_t i = 0; i < dane.size(); ++i) {
                QCOMPARE(dobre[i].nr, std::uint8_t(i));
                QVERIFY(dobre[i].dane == dane[i]);
            }
        }
    }

    void uszkodzonaRamkaJestZgloszonaANastepnaPrzechodzi() {
        Bajty linia = ramka::koduj(ramka::POCZATEK, 0, Bajty(100, 0x55));
        linia[50] ^= 0x01;
        const Bajty druga = ramka::koduj(ramka::KONIEC, 1, {1, 2, 3});
        linia.insert(linia.end(), druga.begin(), druga.end());
        const auto w = dekoduj(linia);
        QCOMPARE(w.size(), std::size_t(2));
        QVERIFY(!w[0].poprawna);
        QCOMPARE(w[0].typ, std::uint8_t(ramka::POCZATEK));
        QVERIFY(w[1].poprawna);
        QCOMPARE(w[1].dane, (Bajty{1, 2, 3}));
    }

    void falszywyNaglowekNieZjadaNastepnejRamki() {
        // A damaged length would make a naive parser wait for 1000 bytes.
        Bajty linia = {0x01, 'B', 0, 0xE8, 0x03, 0x00};
        const Bajty r = ramka::koduj(ramka::ACK, 5);
        linia.insert(linia.end(), r.begin(), r.end());
        ramka::Dekoder d;
        d.dodaj(linia.data(), linia.size());
        ramka::Ramka x;
        QVERIFY(d.nastepna(x));
        QVERIFY(x.poprawna);
        QCOMPARE(x.typ, std::uint8_t(ramka::ACK));
        QCOMPARE(x.nr, std::uint8_t(5));
        QCOMPARE(d.odrzucone(), std::size_t(6));
    }

    void czysteSmieciNieDajaRamek() {
        std::mt19937 g(11);
        const Bajty s = losowe(g, 200000);
        int dobre = 0;
        for (const auto& r : dekoduj(s, 997))
            dobre += r.poprawna;
        QCOMPARE(dobre, 0);
    }

    void kodZeStatusuJakWProgramie() {
        using protokol::kodZeStatusu;
        const std::pair<int, int> pary[] = {
            {0, 0},    {25, 25},     {26, 101},       {30, 105},       {31, 107},
            {39, 115}, {40, 200},    {47, 207},       {48, 208},       {50, 210},
            {51, 255}, {62, 255},    {63, 211},       {64, 255},       {127, 255},
            {128, 0},  {128 + 5, 5}, {128 + 26, 101}, {128 + 63, 211}, {255, 255}};
        for (auto [s, k] : pary)
            QCOMPARE(int(kodZeStatusu(static_cast<std::uint8_t>(s))), k);
        for (int s = 0; s < 256; ++s) {
            const int k = kodZeStatusu(static_cast<std::uint8_t>(s));
            QVERIFY(k != 106 && k != 228 && k != 229);
        }
    }

    void liczbyIDefinicjeWTaISpowrotem() {
        const std::int64_t wartosci[] = {0,   1,          -1,           63,        64,       -64,
                                         -65, 2147483647, 4294967295LL, INT64_MAX, INT64_MIN};
        for (std::int64_t v : wartosci) {
            Bajty b;
            protokol::dopiszLiczbe(b, v);
            QVERIFY(b.size() <= 10);
            const std::uint8_t* p = b.data();
            std::int64_t w = 0;
            QVERIFY(protokol::czytajLiczbe(p, b.data() + b.size(), w));
            QCOMPARE(w, v);
            QCOMPARE(p, b.data() + b.size());
            // Cut anywhere: refused, never read past the end.
            for (std::size_t n = 0; n + 1 < b.size(); ++n) {
                const std::uint8_t* q = b.data();
                QVERIFY(!protokol::czytajLiczbe(q, b.data() + n, w));
            }
        }
        std::vector<DefinicjaNaKasie> d(28);
        for (std::size_t i = 0; i < d.size(); ++i)
            d[i] = {static_cast<std::uint8_t>(i + 30),
                    static_cast<std::uint8_t>(i % 6),
                    {static_cast<std::int64_t>(i), -7, 4294967296LL, 1}};
        Bajty b;
        protokol::kodujDefinicje(d, b);
        std::vector<DefinicjaNaKasie> z;
        QVERIFY(protokol::dekodujDefinicje(b.data(), b.data() + b.size(), z));
        QCOMPARE(z.size(), d.size());
        for (std::size_t i = 0; i < d.size(); ++i) {
            QCOMPARE(z[i].kod, d[i].kod);
            QCOMPARE(z[i].typ, d[i].typ);
            for (int k = 0; k < 4; ++k)
                QCOMPARE(z[i].pola[k], d[i].pola[k]);
        }
        b.push_back(0); // trailing bytes mean a damaged reply
        QVERIFY(!protokol::dekodujDefinicje(b.data(), b.data() + b.size(), z));
    }

    void nazwyWTaISpowrotem() {
        std::vector<std::string> n = {"", "GOTOWKA", std::string("\xa5\x86\xa9\x88", 4),
                                      std::string(300, 'x')};
        Bajty b;
        protokol::kodujNazwy(n, b);
        std::vector<std::string> z;
        QVERIFY(protokol::dekodujNazwy(b.data(), b.data() + b.size(), z));
        QCOMPARE(z.size(), n.size());
        QCOMPARE(z[2], n[2]);
        QCOMPARE(z[3].size(), std::size_t(255));
        QVERIFY(!protokol::dekodujNazwy(b.data(), b.data() + b.size() - 1, z));
    }

    // --- transfer state machines ---

    void oknoOgraniczaRamkiWLocie() {
        protokol::Nadawca n;
        n.zacznij(Bajty(20 * ramka::MAKS_DANYCH + 5, 1));
        QCOMPARE(n.liczbaRamek(), std::size_t(21));
        QCOMPARE(n.doWyslania().size(), protokol::OKNO);
        QVERIFY(n.doWyslania().empty());
        ramka::Ramka ack{ramka::ACK, 2, {}, true};
        n.potwierdzenie(ack); // frames 0..2 done: three more may go
        QCOMPARE(n.doWyslania().size(), std::size_t(3));
    }

    void nakCofaNadawceAPoTrzechPowtorzeniachKoniec() {
        protokol::Nadawca n;
        n.zacznij(Bajty(3 * ramka::MAKS_DANYCH, 2));
        QCOMPARE(n.doWyslania().size(), std::size_t(3));
        ramka::Ramka nak{ramka::NAK, 1, {}, true};
        for (int i = 1; i <= protokol::MAKS_POWTORZEN; ++i) {
            QVERIFY(n.potwierdzenie(nak));
            const auto znow = n.doWyslania();
            QCOMPARE(znow.size(), std::size_t(2)); // frames 1 and 2 again
            QCOMPARE(znow[0][2], std::uint8_t(1));
            QCOMPARE(n.stan(), protokol::Nadawca::Stan::WToku);
        }
        n.potwierdzenie(nak);
        QCOMPARE(n.stan(), protokol::Nadawca::Stan::ZaDuzoNak);
    }

    void odbiorcaPotwierdzaPowtorzeniaIOdrzucaPoCzterechBledach() {
        protokol::Odbiorca o;
        o.zacznij();
        Bajty odp;
        ramka::Ramka r0{ramka::POCZATEK, 0, {1, 2}, true};
        o.ramka(r0, odp);
        QCOMPARE(ramka::koduj(ramka::ACK, 0), odp);
        odp.clear();
        ramka::Ramka r1{ramka::BLOK, 1, {3}, true};
        o.ramka(r1, odp);
        odp.clear();
        o.ramka(r1, odp); // repeated: acknowledged again, not appended twice
        QCOMPARE(ramka::koduj(ramka::ACK, 1), odp);
        QCOMPARE(o.wiadomosc(), (Bajty{1, 2, 3}));
        ramka::Ramka zla{ramka::KONIEC, 2, {}, false};
        for (int i = 1; i <= protokol::MAKS_POWTORZEN; ++i) {
            odp.clear();
            QCOMPARE(o.ramka(zla, odp), protokol::Odbiorca::Stan::WToku);
            QCOMPARE(ramka::koduj(ramka::NAK, 2), odp);
        }
        odp.clear();
        QCOMPARE(o.ramka(zla, odp), protokol::Odbiorca::Stan::ZaDuzoBledow);
        // A new first block starts over whatever happened before.
        odp.clear();
        ramka::Ramka j{ramka::JEDYNA, 0, {9}, true};
        QCOMPARE(o.ramka(j, odp), protokol::Odbiorca::Stan::Kompletna);
        QCOMPARE(o.wiadomosc(), (Bajty{9}));
    }

    // A whole message over a line that damages bytes at random: it arrives complete and
    // unchanged, or the transfer reports failure; it never delivers wrong data.
    void wiadomoscPrzezZaszumionaLinie() {
        int kompletne = 0;
        for (unsigned ziarno = 1; ziarno <= 30; ++ziarno) {
            std::mt19937 g(ziarno);
            const Bajty wiadomosc = losowe(g, 1 + g() % (12 * ramka::MAKS_DANYCH));
            // One damaged byte in about 20000.
            kompletne += przeslij(wiadomosc, g, 20000);
        }
        // Retransmission must actually repair most damage, not merely give up safely.
        QVERIFY2(kompletne >= 25, qPrintable(QString::number(kompletne)));
    }

    // Frame numbers wrap after 256 frames; a message up to the protocol's own limit (1024
    // frames) still arrives whole.
    void wiadomoscDoGranicyProtokolu() {
        std::mt19937 g(7);
        QVERIFY(przeslij(losowe(g, 300 * ramka::MAKS_DANYCH + 17), g, 0));
        QVERIFY(przeslij(losowe(g, protokol::MAKS_WIADOMOSCI), g, 0));
    }

private:
    // Sends `wiadomosc` from a sender to a receiver over a line that damages one byte in about
    // `szansa` (0: none); true when the receiver got the whole message unchanged.
    static bool przeslij(const Bajty& wiadomosc, std::mt19937& g, unsigned szansa) {
        protokol::Nadawca n;
        protokol::Odbiorca o;
        n.zacznij(wiadomosc);
        o.zacznij();
        ramka::Dekoder doOdbiorcy, doNadawcy;
        auto szum = [&](Bajty b) {
            if (szansa != 0)
                for (auto& x : b)
                    if (g() % szansa == 0)
                        x ^= static_cast<std::uint8_t>(1 + g() % 255);
            return b;
        };
        for (int kroki = 0; kroki < 100000; ++kroki) {
            bool cos = false;
            for (const auto& f : n.doWyslania()) {
                const Bajty b = szum(f);
                doOdbiorcy.dodaj(b.data(), b.size());
                cos = true;
            }
            ramka::Ramka r;
            while (doOdbiorcy.nastepna(r)) {
                Bajty odp;
                const auto s = o.ramka(r, odp);
                odp = szum(odp);
                doNadawcy.dodaj(odp.data(), odp.size());
                if (s == protokol::Odbiorca::Stan::Kompletna)
                    return o.wiadomosc() == wiadomosc;
                if (s != protokol::Odbiorca::Stan::WToku && s != protokol::Odbiorca::Stan::Czeka)
                    return false;
                cos = true;
            }
            while (doNadawcy.nastepna(r)) {
                n.potwierdzenie(r);
                cos = true;
            }
            if (n.stan() == protokol::Nadawca::Stan::ZaDuzoNak)
                return false;
            if (!cos) {
                // Silence after garbage: the receiver asks again, as the drivers do.
                Bajty odp;
                if (o.cisza(odp) == protokol::Odbiorca::Stan::ZaDuzoBledow)
                    return false;
                doNadawcy.dodaj(odp.data(), odp.size());
            }
        }
        return false;
    }
};

QTEST_GUILESS_MAIN(TestRamka)
#include "test_ramka.moc"
