// The register client (the interface the key-definition library is built on) against the
// emulator: every operation round trip, what the register refuses and with which code, port
// lookup, and the write timeout.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "link/common/KlientKasy.h"
#include "link/common/Lacze.h"
#include "link/common/PortSzeregowy.h"
#include "link/common/Ramka.h"
#include "wspolne/EmulatorTestowy.h"

using namespace pixo;

namespace {

const std::uint8_t KODY[] = {176, 65,  164, 214, 177, 66,  38, 215, 178, 67, 143, 216, 179, 68,
                             37,  217, 180, 69,  168, 218, 71, 41,  72,  45, 73,  43,  74,  61};

const DefinicjaNaKasie* znajdz(const std::vector<DefinicjaNaKasie>& d, std::uint8_t kod) {
    for (const auto& x : d)
        if (x.kod == kod)
            return &x;
    return nullptr;
}

bool rowne(const DefinicjaNaKasie& a, const DefinicjaNaKasie& b) {
    return a.kod == b.kod && a.typ == b.typ && std::equal(a.pola, a.pola + 4, b.pola);
}

// n payment keys on the first n codes of the right-Alt and left-Alt layers.
std::vector<DefinicjaNaKasie> platnosci(int n) {
    const std::uint8_t kody[] = {164, 38, 143, 37, 168, 41, 45, 43, 61, 65};
    std::vector<DefinicjaNaKasie> w;
    for (int i = 0; i < n; ++i)
        w.push_back(definicjaNaKasie(kody[i], 3, 1 + i % 7, 100 * i, 0));
    return w;
}

} // namespace

class TestKlientKasy : public QObject {
    Q_OBJECT

    QTemporaryDir katalog_;
    EmulatorTestowy emulator_;
    std::unique_ptr<KlientKasy> klient_;

    ParametryLacza parametry(int timeout = 1) const {
        ParametryLacza p;
        p.katalog = katalog_.path().toStdString();
        p.port = 1;
        p.baud = 57600;
        p.timeoutSek = timeout;
        return p;
    }

    void polacz(const QStringList& argumenty) {
        klient_.reset();
        QVERIFY(emulator_.uruchom(katalog_.path(), argumenty));
        QCOMPARE(int(polaczZKasa(parametry(), klient_)), 0);
        QVERIFY(klient_);
    }

private slots:
    void initTestCase() { QVERIFY(katalog_.isValid()); }
    void cleanup() {
        klient_.reset();
        emulator_.zatrzymaj();
    }

    void definicjeZapisOdczytKasowanie() {
        polacz({"--state", katalog_.path() + "/stan1"});
        std::vector<DefinicjaNaKasie> d;
        QCOMPARE(int(klient_->czytajDefinicje(d)), 0);
        QCOMPARE(d.size(), std::size_t(28));
        for (std::size_t i = 0; i < 28; ++i) {
            QCOMPARE(d[i].kod, KODY[i]); // key by key, layer by layer
            QCOMPARE(int(d[i].typ), 0);
        }
        // One of each line type, amounts past 32 bits included.
        const std::vector<DefinicjaNaKasie> nowe = {definicjaNaKasie(176, 1, 12, 0, 1, 0),
                                                    definicjaNaKasie(65, 2, 5),
                                                    definicjaNaKasie(164, 3, 1, 0, 0),
                                                    definicjaNaKasie(177, 4, 0, 10, 1, 0),
                                                    definicjaNaKasie(66, 5, 1, 250, 0, 1),
                                                    definicjaNaKasie(38, 3, 2, 1000, 1),
                                                    definicjaNaKasie(218, 3, 7, 4294967295LL, 0),
                                                    definicjaNaKasie(74, 1, 3071, 1, 1, 1),
                                                    definicjaNaKasie(61, 4, 1, 99, 1, 1)};
        QCOMPARE(int(klient_->zapiszDefinicje(nowe)), 0);
        QCOMPARE(int(klient_->czytajDefinicje(d)), 0);
        QCOMPARE(d.size(), std::size_t(28));
        for (const auto& n : nowe) {
            const auto* x = znajdz(d, n.kod);
            QVERIFY(x);
            QVERIFY2(rowne(*x, n), qPrintable(QString::number(n.kod)));
        }
        QCOMPARE(int(znajdz(d, 214)->typ), 0); // untouched keys stay undefined

        QCOMPARE(int(klient_->skasujDefinicje({176, 218, 61})), 0);
        QCOMPARE(int(klient_->czytajDefinicje(d)), 0);
        QCOMPARE(int(znajdz(d, 176)->typ), 0);
        QCOMPARE(int(znajdz(d, 218)->typ), 0);
        QCOMPARE(int(znajdz(d, 61)->typ), 0);
        QCOMPARE(int(znajdz(d, 65)->typ), 2);

        // The whole delete list of the program: every key undefined.
        QCOMPARE(int(klient_->skasujDefinicje(
                     std::vector<std::uint8_t>(std::begin(KODY), std::end(KODY)))),
                 0);
        QCOMPARE(int(klient_->czytajDefinicje(d)), 0);
        for (const auto& x : d)
            QCOMPARE(int(x.typ), 0);
    }

    void odmowyKasyIchKody_data() {
        QTest::addColumn<int>("kod");
        QTest::addColumn<int>("typ");
        QTest::addColumn<qint64>("a");
        QTest::addColumn<qint64>("b");
        QTest::addColumn<qint64>("c");
        QTest::addColumn<qint64>("d");
        QTest::addColumn<int>("wynik");
        QTest::newRow("klawisz spoza 28") << 70 << 0 << 0ll << 0ll << 0ll << 0ll << 228;
        QTest::newRow("typ 6") << 176 << 6 << 0ll << 0ll << 0ll << 0ll << 208;
        QTest::newRow("towar 0") << 176 << 1 << 0ll << 0ll << 0ll << 0ll << 105;
        QTest::newRow("towar 3072") << 176 << 1 << 3072ll << 0ll << 0ll << 0ll << 105;
        QTest::newRow("flaga 2") << 176 << 1 << 5ll << 2ll << 0ll << 0ll << 208;
        QTest::newRow("funkcja 41") << 176 << 2 << 41ll << 0ll << 0ll << 0ll << 208;
        QTest::newRow("funkcja 0") << 176 << 2 << 0ll << 0ll << 0ll << 0ll << 208;
        QTest::newRow("platnosc 8") << 176 << 3 << 8ll << 0ll << 0ll << 0ll << 115;
        QTest::newRow("waluta 9") << 176 << 3 << 9ll << 0ll << 1ll << 0ll << 208;
        QTest::newRow("kwota ujemna") << 176 << 3 << 1ll << -1ll << 0ll << 0ll << 208;
        QTest::newRow("procent 0") << 176 << 4 << 0ll << 0ll << 1ll << 0ll << 207;
        QTest::newRow("procent 100") << 176 << 4 << 1ll << 100ll << 1ll << 0ll << 207;
        QTest::newRow("zakres 2") << 176 << 4 << 0ll << 10ll << 2ll << 0ll << 208;
        QTest::newRow("rabat kwotowy 0") << 176 << 5 << 0ll << 0ll << 1ll << 0ll << 207;
    }
    void odmowyKasyIchKody() {
        QFETCH(int, kod);
        QFETCH(int, typ);
        QFETCH(qint64, a);
        QFETCH(qint64, b);
        QFETCH(qint64, c);
        QFETCH(qint64, d);
        QFETCH(int, wynik);
        polacz({});
        const auto dobra = definicjaNaKasie(65, 2, 7);
        QCOMPARE(int(klient_->zapiszDefinicje({dobra})), 0);
        // One refused definition: nothing of the write is taken, not even the good ones.
        const std::vector<DefinicjaNaKasie> zapis = {
            definicjaNaKasie(66, 2, 9),
            definicjaNaKasie(static_cast<std::uint8_t>(kod), static_cast<std::uint8_t>(typ), a, b,
                             c, d)};
        QCOMPARE(int(klient_->zapiszDefinicje(zapis)), wynik);
        std::vector<DefinicjaNaKasie> teraz;
        QCOMPARE(int(klient_->czytajDefinicje(teraz)), 0);
        QVERIFY(rowne(*znajdz(teraz, 65), dobra));
        QCOMPARE(int(znajdz(teraz, 66)->typ), 0);
    }

    void dziewiataPlatnoscDaje229() {
        polacz({});
        QCOMPARE(int(klient_->zapiszDefinicje(platnosci(8))), 0);
        // Rewriting the same eight is not a ninth.
        QCOMPARE(int(klient_->zapiszDefinicje(platnosci(8))), 0);
        QCOMPARE(int(klient_->zapiszDefinicje(platnosci(9))), 229);
        // Currencies do not count as payments.
        QCOMPARE(int(klient_->zapiszDefinicje({definicjaNaKasie(65, 3, 2, 0, 1)})), 0);
        QCOMPARE(int(klient_->zapiszDefinicje({definicjaNaKasie(66, 3, 2, 0, 0)})), 229);
        std::vector<DefinicjaNaKasie> d;
        QCOMPARE(int(klient_->czytajDefinicje(d)), 0);
        int ile = 0;
        for (const auto& x : d)
            ile += x.typ == 3 && x.pola[2] != 1;
        QCOMPARE(ile, 8);
        // Turning a payment key into something else frees its place.
        QCOMPARE(int(klient_->zapiszDefinicje(
                     {definicjaNaKasie(164, 2, 1), definicjaNaKasie(66, 3, 2, 0, 0)})),
                 0);
        QCOMPARE(int(klient_->skasujDefinicje({99})), 228);
    }

    void towaryPlatnosciWaluty() {
        polacz({});
        std::vector<TowarNaKasie> t;
        QCOMPARE(int(klient_->czytajTowary(t)), 0);
        QCOMPARE(t.size(), std::size_t(3071));
        bool polskie = false;
        for (std::size_t i = 0; i < t.size(); ++i) {
            QCOMPARE(int(t[i].plu), int(i + 1));
            QCOMPARE(t[i].nazwa.size(), std::size_t(20));
            for (unsigned char c : t[i].nazwa)
                polskie |= c >= 0x80;
        }
        QVERIFY(polskie);
        // PLU 9 is "ŻUREK ŚLĄSKI" in code page 852: Ż = 0xBD, Ś = 0x97, Ą = 0xA4.
        QCOMPARE(QByteArray::fromStdString(t[8].nazwa),
                 QByteArray("\xbdUREK \x97L\xa4SKI    0009"));
        QCOMPARE(QByteArray::fromStdString(t[3070].nazwa).right(5), QByteArray(" 3071"));

        std::vector<std::string> p, w;
        QCOMPARE(int(klient_->czytajPlatnosci(p)), 0);
        QCOMPARE(p.size(), std::size_t(6));
        QCOMPARE(p[1], std::string("CZEK"));
        // Payment names travel in code page 1250, which the program shows them in: Ł = 0xA3.
        QCOMPARE(p[0], std::string("KARTA P\xa3"
                                   "ATNICZA"));
        QCOMPARE(int(klient_->czytajWaluty(w)), 0);
        QCOMPARE(w.size(), std::size_t(8));
        QCOMPARE(w[0], std::string("EUR"));
    }

    void identyfikacjaINumerPrzezKlienta() {
        polacz({"--model", "133", "--number", "42"});
        std::uint8_t m = 0;
        std::string n;
        QCOMPARE(int(klient_->identyfikacja(m)), 0);
        QCOMPARE(int(m), 133);
        QCOMPARE(int(klient_->numerKasy(n)), 0);
        QCOMPARE(n, std::string("42"));
    }

    void multiplekserWybieraKanalPrzyPolaczeniu() {
        QVERIFY(emulator_.uruchom(katalog_.path(), {"--mux", "2=12,4=14"}));
        ParametryLacza p = parametry();
        p.multiplekser = 1;
        std::string n;
        for (int k : {4, 2}) {
            p.kanal = k;
            QCOMPARE(int(polaczZKasa(p, klient_)), 0);
            QCOMPARE(int(klient_->numerKasy(n)), 0);
            QCOMPARE(n, "1" + std::to_string(k));
            klient_.reset();
        }
        p.kanal = 3;
        std::string powod;
        QVERIFY(polaczZKasa(p, klient_, &powod) != 0);
        QVERIFY(!klient_);
        QVERIFY(!powod.empty());
    }

    // Faults during a long transfer: the goods list is 64 KB, more than one window.
    void usterkiWTrakcieDlugiegoTransferu_data() {
        QTest::addColumn<QStringList>("argumenty");
        QTest::addColumn<int>("kod");
        QTest::newRow("rozlaczenie w polowie") << QStringList{"--disconnect-after", "30000"} << 21;
        QTest::newRow("zepsute ramki") << QStringList{"--corrupt"} << 23;
        QTest::newRow("cisza") << QStringList{"--no-reply"} << 21;
        QTest::newRow("nak") << QStringList{"--nak"} << 24;
    }
    void usterkiWTrakcieDlugiegoTransferu() {
        QFETCH(QStringList, argumenty);
        QFETCH(int, kod);
        polacz(argumenty);
        std::vector<TowarNaKasie> t;
        QElapsedTimer czas;
        czas.start();
        QCOMPARE(int(klient_->czytajTowary(t)), kod);
        QVERIFY2(czas.elapsed() < 2000, qPrintable(QString::number(czas.elapsed())));
        QVERIFY(t.empty());
    }

    // One fault, once, through the real port with the client's timeouts: the exchange
    // recovers within the protocol's repetitions and the transfer succeeds within the timeout.
    void usterkaJednorazowaNaprawiona_data() {
        QTest::addColumn<QStringList>("argumenty");
        QTest::newRow("NAK zapytania") << QStringList{"--nak-once", "1"};
        QTest::newRow("nieczytelne zapytanie") << QStringList{"--garble-once", "1"};
        QTest::newRow("zepsuty blok odpowiedzi") << QStringList{"--corrupt-once", "20"};
        QTest::newRow("zgubiona odpowiedz") << QStringList{"--drop-reply-once", "1"};
    }
    void usterkaJednorazowaNaprawiona() {
        QFETCH(QStringList, argumenty);
        polacz(argumenty);
        std::vector<TowarNaKasie> t;
        QElapsedTimer czas;
        czas.start();
        QCOMPARE(int(klient_->czytajTowary(t)), 0);
        QCOMPARE(t.size(), std::size_t(3071));
        QVERIFY2(czas.elapsed() < 1000, qPrintable(QString::number(czas.elapsed())));
    }

    void poRozlaczeniuPortWracaPodTaSamaNazwa() {
        // ACK (8 bytes) and part of the 12-byte reply, then the line is gone.
        polacz({"--disconnect-after", "15"});
        std::uint8_t m = 0;
        QCOMPARE(int(klient_->identyfikacja(m)), 21);
        QVERIFY(emulator_.czekajNa("gotowe: ", 3000, 2));
        klient_.reset();
        QCOMPARE(int(polaczZKasa(parametry(), klient_)), 0);
        QCOMPARE(int(klient_->identyfikacja(m)), 0);
        QCOMPARE(int(m), 139);
    }

    void stanPrzetrwaRestartEmulatora() {
        const QString stan = katalog_.path() + "/stan2";
        polacz({"--state", stan, "--number", "23", "--model", "133"});
        const std::vector<DefinicjaNaKasie> d = {definicjaNaKasie(179, 1, 77, 1, 0, 1),
                                                 definicjaNaKasie(37, 3, 4, 1234, 1)};
        QCOMPARE(int(klient_->zapiszDefinicje(d)), 0);
        QCOMPARE(int(klient_->skasujDefinicje({179})), 0);
        // Started again without the options: model, number and definitions come back.
        polacz({"--state", stan});
        std::vector<DefinicjaNaKasie> z;
        QCOMPARE(int(klient_->czytajDefinicje(z)), 0);
        QCOMPARE(int(znajdz(z, 179)->typ), 0);
        QVERIFY(rowne(*znajdz(z, 37), d[1]));
        std::uint8_t m = 0;
        std::string n;
        QCOMPARE(int(klient_->identyfikacja(m)), 0);
        QCOMPARE(int(m), 133);
        QCOMPARE(int(klient_->numerKasy(n)), 0);
        QCOMPARE(n, std::string("23"));
        std::vector<TowarNaKasie> t;
        QCOMPARE(int(klient_->czytajTowary(t)), 0);
        QCOMPARE(t.size(), std::size_t(3071));
        QVERIFY(!QFile::exists(stan + "/klawisze.txt.tmp"));
    }

    void nazwaPortuBezWzgleduNaWielkoscLiter() {
        QVERIFY(emulator_.uruchom(katalog_.path(), {}, 3));
        // The technician's own link may be spelled COM3; here the emulator's is com3.
        const QString duza = katalog_.path() + "/duze";
        QVERIFY(QDir().mkpath(duza));
        QVERIFY(QFile::link(QFile::symLinkTarget(katalog_.path() + "/com3"), duza + "/COM3"));
        QCOMPARE(PortSzeregowy::sciezka(duza.toStdString(), 3), (duza + "/COM3").toStdString());
        ParametryLacza p = parametry();
        p.katalog = duza.toStdString();
        p.port = 3;
        QCOMPARE(int(polaczZKasa(p, klient_)), 0);
        std::uint8_t m = 0;
        QCOMPARE(int(klient_->identyfikacja(m)), 0);
        QCOMPARE(PortSzeregowy::sciezka(duza.toStdString(), 12), std::string("/dev/ttyS11"));
    }

    // A late reply to an earlier exchange comes first: it is not taken for this one's.
    void spoznionaOdpowiedzNieJestTaOczekiwana() {
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0);
        QVERIFY(grantpt(master) == 0 && unlockpt(master) == 0);
        const QString k = katalog_.path() + "/spozniona";
        QDir().mkpath(k);
        QVERIFY(QFile::link(ptsname(master), k + "/com9"));
        Lacze lacze;
        std::string powod;
        QCOMPARE(int(lacze.otworz(k.toStdString(), 9, 57600, 1, powod)), 0);
        std::thread kasa([&] {
            ramka::Dekoder d;
            std::uint8_t b[256];
            for (;;) {
                const ssize_t n = ::read(master, b, sizeof b);
                if (n <= 0)
                    return;
                d.dodaj(b, static_cast<std::size_t>(n));
                ramka::Ramka r;
                while (d.nastepna(r)) {
                    if (r.typ != ramka::JEDYNA || r.dane.size() < 2)
                        continue;
                    const std::uint8_t nr = r.dane[0], rozkaz = r.dane[1];
                    auto odp =
                        ramka::koduj(ramka::JEDYNA, 0,
                                     {static_cast<std::uint8_t>(nr - 1), rozkaz, 0, 0, 'X', 'X'});
                    const auto nasza = ramka::koduj(ramka::JEDYNA, 0, {nr, rozkaz, 0, 0, '0', '7'});
                    odp.insert(odp.end(), nasza.begin(), nasza.end());
                    (void)!::write(master, odp.data(), odp.size());
                    return;
                }
            }
        });
        std::vector<std::uint8_t> dane;
        QCOMPARE(int(lacze.rozkaz(192, {}, dane)), 0);
        QCOMPARE(dane, (std::vector<std::uint8_t>{'0', '7'}));
        lacze.zamknij();
        kasa.join();
        ::close(master);
    }

    void zapisZablokowanyDaje20() {
        // A pseudo-terminal whose other side never reads: the write stalls once the buffers
        // are full and must end with 20 after the timeout, not hang.
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0);
        QVERIFY(grantpt(master) == 0 && unlockpt(master) == 0);
        PortSzeregowy p;
        std::string powod;
        QCOMPARE(int(p.otworzSciezke(ptsname(master), 9600, powod)), 0);
        std::vector<std::uint8_t> duzo(1 << 20, 0x55);
        QElapsedTimer t;
        t.start();
        QCOMPARE(int(p.pisz(duzo.data(), duzo.size(), 1000)), 20);
        QVERIFY(t.elapsed() >= 900 && t.elapsed() < 2000);
        p.zamknij();
        ::close(master);
    }

    // A line that never stops talking nonsense must not hold the caller: the timeout plus at
    // most one longest frame's line time (1.08 s at 9600 baud).
    void gadatliwaLiniaNieTrzymaPozaTimeoutem_data() {
        QTest::addColumn<int>("rodzaj");
        QTest::addColumn<int>("kod");
        QTest::newRow("losowe bajty") << 0 << 23;
        QTest::newRow("zepsute ramki z obcym numerem") << 1 << 23;
        QTest::newRow("same stare potwierdzenia") << 2 << 21;
        QTest::newRow("naglowek obiecujacy dlugie dane") << 3 << 23;
        QTest::newRow("poczatek i srodek na przemian") << 4 << 23;
    }
    void gadatliwaLiniaNieTrzymaPozaTimeoutem() {
        QFETCH(int, rodzaj);
        QFETCH(int, kod);
        const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        QVERIFY(master >= 0);
        QVERIFY(grantpt(master) == 0 && unlockpt(master) == 0);
        const QString k = katalog_.path() + "/gadula";
        QDir().mkpath(k);
        QFile::remove(k + "/com9");
        QVERIFY(QFile::link(ptsname(master), k + "/com9"));
        Lacze lacze;
        std::string powod;
        QCOMPARE(int(lacze.otworz(k.toStdString(), 9, 9600, 1, powod)), 0);
        std::atomic<bool> dosc{false};
        std::thread gadula([&] {
            std::mt19937 g(5);
            std::vector<std::uint8_t> b;
            std::uint8_t smietnik[256];
            while (!dosc) {
                b.clear();
                if (rodzaj == 0) {
                    for (int i = 0; i < 64; ++i)
                        b.push_back(static_cast<std::uint8_t>(g()));
                } else if (rodzaj == 1) {
                    b = ramka::koduj(ramka::BLOK, 77, std::vector<std::uint8_t>(40, 1));
                    b.back() ^= 1;
                } else if (rodzaj == 2) {
                    b = ramka::koduj(ramka::ACK, 200);
                } else if (rodzaj == 4) {
                    // A reply begun again and again: every block valid, none of it progress.
                    b = ramka::koduj(ramka::POCZATEK, 0, std::vector<std::uint8_t>(40, 1));
                    const auto srodek =
                        ramka::koduj(ramka::BLOK, 1, std::vector<std::uint8_t>(40, 2));
                    b.insert(b.end(), srodek.begin(), srodek.end());
                } else {
                    // Valid headers promising 1024 bytes, never completed by a valid frame.
                    b = ramka::koduj(ramka::BLOK, 3, std::vector<std::uint8_t>(1024, 7));
                    b.back() ^= 1;
                }
                (void)!::write(master, b.data(), b.size());
                while (::read(master, smietnik, sizeof smietnik) > 0) {
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        });
        std::vector<std::uint8_t> odp;
        QElapsedTimer t;
        t.start();
        const int wynik = lacze.wymiana({254}, odp);
        const qint64 ms = t.elapsed();
        dosc = true;
        gadula.join();
        lacze.zamknij();
        ::close(master);
        QCOMPARE(wynik, kod);
        QVERIFY2(ms < 1000 + 1080 + 300, qPrintable(QString::number(ms)));
    }

    void brakUprawnienWskazujeGrupeDialout() {
        // Root opens everything, so the refusal is seen from a child that dropped to nobody.
        const QString f = katalog_.path() + "/zamkniety";
        const QString k = katalog_.path() + "/uprawnienia";
        QVERIFY(QDir().mkpath(k));
        QFile plik(f);
        QVERIFY(plik.open(QIODevice::WriteOnly));
        plik.close();
        QVERIFY(QFile::setPermissions(f, QFile::ReadOwner | QFile::WriteOwner));
        for (const QString& d : {katalog_.path(), k})
            QVERIFY(::chmod(QFile::encodeName(d).constData(), 0755) == 0);
        QVERIFY(QFile::link(f, k + "/com5"));
        int rura[2];
        QVERIFY(::pipe(rura) == 0);
        const pid_t dziecko = fork();
        if (dziecko == 0) {
            ::close(rura[0]);
            if (geteuid() == 0 && setuid(65534) != 0)
                _exit(3);
            PortSzeregowy p;
            std::string powod;
            const int w = p.otworz(k.toStdString(), 5, 9600, powod);
            powod = std::to_string(w) + ":" + powod;
            (void)!::write(rura[1], powod.data(), powod.size());
            _exit(0);
        }
        ::close(rura[1]);
        QByteArray odp;
        char b[512];
        ssize_t n;
        while ((n = ::read(rura[0], b, sizeof b)) > 0)
            odp.append(b, static_cast<int>(n));
        ::close(rura[0]);
        int status = 0;
        waitpid(dziecko, &status, 0);
        if (WIFEXITED(status) && WEXITSTATUS(status) == 3)
            QSKIP("cannot drop privileges here");
        const QString tekst = QString::fromUtf8(odp);
        QVERIFY2(tekst.startsWith("62:"), qPrintable(tekst));
        QVERIFY2(tekst.contains("dialout"), qPrintable(tekst));
    }
};

QTEST_GUILESS_MAIN(TestKlientKasy)
#include "test_klient_kasy.moc"
