#include "transfer/BibliotekiWine.h"

#include "transfer/BledyMostu.h"
#include "transfer/PlikRoboczy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstring>

using namespace pixo::most;

namespace {

const QString kZapisPliku = QStringLiteral("Zapis pliku");
const QString kPolaczenie = QStringLiteral("Połączenie z kasą");
constexpr std::uint8_t kPortNiedostepny = 62;
constexpr std::uint8_t kZapisWyjscia = 17;

const QString kInstalacjaWine = QStringLiteral(
    "Instalacja: sudo dpkg --add-architecture i386, potem sudo apt-get update i sudo apt-get "
    "install wine wine32:i386.");

std::vector<std::uint8_t> bajtyWywolania(Id id, const std::vector<std::uint32_t>& wartosci,
                                         const std::vector<LaczeKasy::Bufor>& bufory) {
    std::vector<std::uint8_t> b;
    std::size_t w = 0, n = 0;
    for (const char* a = kFunkcje[id].argumenty; *a; ++a) {
        if (*a == 'b') {
            const auto& bufor = bufory.at(n++);
            b.insert(b.end(), bufor.begin(), bufor.end());
        } else {
            b.resize(b.size() + 4);
            ZapiszU32(b.data() + b.size() - 4, wartosci.at(w++));
        }
    }
    return b;
}

} // namespace

BibliotekiWine::BibliotekiWine(Pliki pliki, BibliotekiKasy::Oczekiwanie oczekiwanie,
                               UstawieniaWine ustawienia)
    : m_pliki(std::move(pliki)), m_oczekiwanie(std::move(oczekiwanie)),
      m_ustawienia(std::move(ustawienia)) {}

BibliotekiWine::~BibliotekiWine() {
    if (m_rozruch.joinable())
        m_rozruch.join();
    const std::lock_guard<std::mutex> blokada(m_mutex);
    m_most.zatrzymaj();
    porzucPlikiLiniowe();
}

void BibliotekiWine::uruchomWTle() {
    if (m_ustawienia.wine.isEmpty() || !PrefiksGotowy(m_ustawienia) || m_rozruch.joinable())
        return;
    const QString folder = QDir::currentPath();
    m_rozruch = std::thread([this, folder] {
        const std::lock_guard<std::mutex> blokada(m_mutex);
        OdswiezPortyWine(m_ustawienia.prefiks(), folder, m_porty);
        if (!m_most.dziala())
            uruchomMost();
    });
}

QString BibliotekiWine::opisBibliotek() const {
    return QStringLiteral("Biblioteki producenta kasy przez Wine: %1, %2")
        .arg(m_pliki.kavrel, m_pliki.sevrin);
}

void BibliotekiWine::porzucPlikiLiniowe() {
    for (const auto& [uchwyt, pliki] : m_plikiLiniowe)
        UsunRobocza(pliki.first, true);
    m_plikiLiniowe.clear();
}

std::uint8_t BibliotekiWine::uruchomMost() {
    if (!QFileInfo(m_ustawienia.most).isFile()) {
        m_powod = QStringLiteral("Brak programu pośredniczącego %1.").arg(m_ustawienia.most);
        return bladDrogi(kKodBladWine);
    }
    for (const QString& dll : {m_pliki.kavrel, m_pliki.sevrin})
        if (!QFileInfo::exists(dll)) {
            m_powod = QStringLiteral("Nie ma pliku %1.").arg(dll);
            return bladDrogi(kKodZlaBiblioteka);
        }
    porzucPlikiLiniowe(); // handles of a bridge that has gone mean nothing to a new one
    const std::vector<std::string> argumenty{QFile::encodeName(m_ustawienia.wine).toStdString(),
                                             QFile::encodeName(m_ustawienia.most).toStdString(),
                                             SciezkaWindows(m_pliki.kavrel).toStdString(),
                                             SciezkaWindows(m_pliki.sevrin).toStdString()};
    std::string blad;
    if (!m_most.uruchom(argumenty, SrodowiskoProcesuWine(m_ustawienia.prefiks(), true),
                        QFile::encodeName(QDir::currentPath()).toStdString(),
                        QFile::encodeName(m_ustawienia.dziennik()).toStdString(), blad)) {
        m_powod = QStringLiteral("Nie można uruchomić programu %1: %2.")
                      .arg(m_ustawienia.wine, QString::fromLocal8Bit(blad.c_str()));
        return bladDrogi(kKodBladWine);
    }
    const ProcesMostu::Odpowiedz o = m_most.czekajNaGotowosc(kGranicaStartuMs, m_funkcje);
    if (o.stan == ProcesMostu::Stan::Ok)
        return 0;
    if (o.stan == ProcesMostu::Stan::Blad)
        return odpowiedzNaBlad(o, UstawPostep);
    m_powod = QStringLiteral("Program pośredniczący pixo-most.exe nie uruchomił się pod Wine (%1); "
                             "szczegóły w pliku %2.")
                  .arg(QString::fromStdString(o.zakonczenie), m_ustawienia.dziennik());
    return bladDrogi(kKodBladWine);
}

std::uint8_t BibliotekiWine::odpowiedzNaBlad(const ProcesMostu::Odpowiedz& o, Id id) {
    BladMostu blad = OpiszBladMostu(o, id, m_pliki, m_ustawienia);
    m_powod = std::move(blad.powod);
    return bladDrogi(blad.kod);
}

std::uint8_t BibliotekiWine::wywolajWTle(Id id, Argumenty& a) {
    const std::lock_guard<std::mutex> blokada(m_mutex);
    OdswiezPortyWine(m_ustawienia.prefiks(), QDir::currentPath(), m_porty);
    if (!m_most.dziala()) {
        if (const std::uint8_t kod = uruchomMost())
            return kod;
    }
    std::vector<std::uint8_t> wynik;
    const auto postep = [this](unsigned zrobione, unsigned calosc) {
        m_postep.calosc.store(calosc);
        m_postep.zrobione.store(zrobione);
    };
    const ProcesMostu::Odpowiedz o = m_most.wywolaj(id, bajtyWywolania(id, a.wartosci, a.bufory),
                                                    wynik, postep, m_ustawienia.granicaWywolaniaMs);
    if (o.stan != ProcesMostu::Stan::Ok)
        return odpowiedzNaBlad(o, id);
    // The handles and buffers as the call left them, in the order of the framing.
    std::size_t w = 0, n = 0, poz = 0;
    for (const char* arg = kFunkcje[id].argumenty; *arg; ++arg) {
        if (*arg == 'w') {
            ++w;
        } else if (*arg == 'u') {
            a.wartosci[w++] = CzytajU32(wynik.data() + poz);
            poz += 4;
        }
    }
    for (const char* arg = kFunkcje[id].argumenty; *arg; ++arg)
        if (*arg == 'b') {
            std::memcpy(a.bufory[n++].data(), wynik.data() + poz, kRozmiarBufora);
            poz += kRozmiarBufora;
        }
    // Why the call failed, when the DLL can tell: the port, KONFIG.TXT, the line file.
    const bool plikLiniowy = id == pixo::most::OtwartoPlik ||
                             id == pixo::most::ZapisanoDoPlikuLinie ||
                             id == pixo::most::ZamknieciePliku;
    if (plikLiniowy) {
        if (o.wynik == 0 && ma(BladSystemuPliku)) {
            std::vector<std::uint8_t> nic;
            const ProcesMostu::Odpowiedz b =
                m_most.wywolaj(BladSystemuPliku, {}, nic, {}, m_ustawienia.granicaWywolaniaMs);
            m_bladPliku = b.stan == ProcesMostu::Stan::Ok ? static_cast<int>(b.wartosc) : 0;
        }
    } else if (o.wynik == kPortNiedostepny) {
        m_powod = tekstBiblioteki(kFunkcje[id].biblioteka == Biblioteka::Kavrel ? PowodBleduKavrel
                                                                                : PowodBleduSevrin);
    } else if (o.wynik != 0 && id <= pixo::most::OWaluta) { // a register operation
        m_powodKonfiguracji = tekstBiblioteki(PowodBleduKonfiguracji);
    }
    return o.wynik;
}

QString BibliotekiWine::tekstBiblioteki(Id id) {
    if (!ma(id))
        return {};
    std::vector<std::uint8_t> tekst;
    const Bufor pusty{};
    if (m_most.wywolaj(id, bajtyWywolania(id, {}, {pusty}), tekst, {},
                       m_ustawienia.granicaWywolaniaMs)
                .wynik == 0 ||
        tekst.size() != kRozmiarBufora)
        return {};
    tekst.back() = 0;
    return QString::fromUtf8(reinterpret_cast<const char*>(tekst.data()));
}

std::uint8_t BibliotekiWine::wywolaj(Id id, const QString& nazwa, const QString& jednostka,
                                     Argumenty& a) {
    m_postep.zacznij(nazwa, jednostka);
    // A start begun by uruchomWTle() is awaited like a call; what it left is this call's.
    if (m_rozruch.joinable())
        m_oczekiwanie(
            [this] {
                m_rozruch.join();
                return std::uint8_t{0};
            },
            m_postep);
    m_powod.clear();
    m_powodKonfiguracji.clear();
    m_bladPliku = 0;
    m_bladDrogi = false;
    if (m_ustawienia.wine.isEmpty()) {
        m_powod = kInstalacjaWine;
        return bladDrogi(kKodBrakWine);
    }
    if (!PrefiksGotowy(m_ustawienia)) {
        PostepPracy przygotowanie;
        przygotowanie.zacznij(QStringLiteral("Przygotowanie środowiska Wine dla bibliotek "
                                             "producenta kasy (tylko za pierwszym razem)"),
                              {});
        std::optional<QString> blad;
        m_oczekiwanie(
            [&] {
                blad = PrzygotujPrefiks(m_ustawienia);
                return std::uint8_t{0};
            },
            przygotowanie);
        if (blad) {
            m_powod = *blad;
            return bladDrogi(kKodBladWine);
        }
    }
    return m_oczekiwanie([&] { return wywolajWTle(id, a); }, m_postep);
}

std::uint8_t BibliotekiWine::eksport(Id id, const QString& nazwa, const QString& jednostka,
                                     const QString& wejscie, const QString& wyjscie) {
    const QString robocza = NazwaRobocza(wyjscie, wejscie);
    Argumenty a{{}, {BuforNazwy(wejscie), BuforNazwy(robocza.isEmpty() ? wyjscie : robocza)}};
    std::uint8_t wynik = wywolaj(id, nazwa, jednostka, a);
    if (!robocza.isEmpty()) {
        if (wynik == 0 && !OpublikujRobocza(robocza, wyjscie))
            wynik = kZapisWyjscia;
        UsunRobocza(robocza, m_bladDrogi);
    }
    return wynik;
}

std::uint8_t BibliotekiWine::ODefKlaw(const QString& wejscie, const QString& wyjscie) {
    return eksport(pixo::most::ODefKlaw, QStringLiteral("Odczyt definicji klawiszy z kasy"),
                   QStringLiteral("klawiszy"), wejscie, wyjscie);
}

std::uint8_t BibliotekiWine::ZDefKlaw(const QString& plik) {
    Argumenty a{{}, {BuforNazwy(plik)}};
    return wywolaj(pixo::most::ZDefKlaw, QStringLiteral("Zapis definicji klawiszy do kasy"), {}, a);
}

std::uint8_t BibliotekiWine::KDefKlaw(const QString& lista) {
    Argumenty a{{}, {BuforNazwy(lista)}};
    return wywolaj(pixo::most::KDefKlaw, QStringLiteral("Kasowanie definicji klawiszy w kasie"), {},
                   a);
}

std::uint8_t BibliotekiWine::TowarMax(const QString& wejscie, const QString& wyjscie) {
    return eksport(pixo::most::TowarMax, QStringLiteral("Odczyt bazy towarowej z kasy"),
                   QStringLiteral("towarów"), wejscie, wyjscie);
}

std::uint8_t BibliotekiWine::OPlat(const QString& wejscie, const QString& wyjscie) {
    return eksport(pixo::most::OPlat, QStringLiteral("Odczyt płatności z kasy"),
                   QStringLiteral("płatności"), wejscie, wyjscie);
}

std::uint8_t BibliotekiWine::OWaluta(const QString& wejscie, const QString& wyjscie) {
    return eksport(pixo::most::OWaluta, QStringLiteral("Odczyt walut z kasy"),
                   QStringLiteral("walut"), wejscie, wyjscie);
}

std::uint8_t BibliotekiWine::OtwartoPlik(std::int32_t& uchwyt, const QString& nazwa,
                                         std::uint8_t tryb) {
    const QString robocza = NazwaRobocza(nazwa);
    Argumenty a{{static_cast<std::uint32_t>(uchwyt), tryb},
                {BuforNazwy(robocza.isEmpty() ? nazwa : robocza)}};
    const std::uint8_t wynik = wywolaj(pixo::most::OtwartoPlik, kZapisPliku, {}, a);
    if (m_bladDrogi)
        return 0; // this writer answers nonzero or 0; the reason is in powodBleduPortu()
    uchwyt = static_cast<std::int32_t>(a.wartosci[0]);
    if (wynik != 0 && !robocza.isEmpty())
        m_plikiLiniowe[uchwyt] = {robocza, nazwa};
    return wynik;
}

std::uint8_t BibliotekiWine::ZapisanoDoPlikuLinie(std::int32_t uchwyt, const QByteArray& linia) {
    Argumenty a{{static_cast<std::uint32_t>(uchwyt)}, {BuforLinii(linia)}};
    const std::uint8_t wynik = wywolaj(pixo::most::ZapisanoDoPlikuLinie, kZapisPliku, {}, a);
    return m_bladDrogi ? 0 : wynik;
}

std::uint8_t BibliotekiWine::ZamknieciePliku(std::int32_t& uchwyt) {
    const std::int32_t zamykany = uchwyt;
    Argumenty a{{static_cast<std::uint32_t>(uchwyt)}, {}};
    std::uint8_t wynik = wywolaj(pixo::most::ZamknieciePliku, kZapisPliku, {}, a);
    if (m_bladDrogi)
        return 0;
    uchwyt = static_cast<std::int32_t>(a.wartosci[0]);
    const auto plik = m_plikiLiniowe.find(zamykany);
    if (plik != m_plikiLiniowe.end()) {
        const auto [robocza, cel] = plik->second;
        m_plikiLiniowe.erase(plik);
        if (wynik != 0 && !OpublikujRobocza(robocza, cel))
            wynik = 0;
        UsunRobocza(robocza, false);
    }
    return wynik;
}

void BibliotekiWine::UnInitializePort() {
    Argumenty a;
    wywolaj(pixo::most::UnInitializePort, kPolaczenie, {}, a);
}

std::uint8_t BibliotekiWine::InitializePort(std::uint8_t port, std::uint16_t baud,
                                            std::uint16_t timeout, std::uint16_t timeout2) {
    Argumenty a{{port, baud, timeout, timeout2}, {}};
    return wywolaj(pixo::most::InitializePort, kPolaczenie, {}, a);
}

std::uint8_t BibliotekiWine::UstawKanal(std::uint8_t kanal) {
    Argumenty a{{kanal}, {}};
    return wywolaj(pixo::most::UstawKanal, kPolaczenie, {}, a);
}

std::uint8_t BibliotekiWine::RSSequence(std::uint8_t rozkaz, std::uint8_t licznik,
                                        std::uint8_t licznik2, Bufor& odbior,
                                        const Bufor& nadawanie) {
    Argumenty a{{rozkaz, licznik, licznik2}, {Bufor{}, nadawanie}};
    const std::uint8_t wynik = wywolaj(pixo::most::RSSequence, kPolaczenie, {}, a);
    odbior = a.bufory[0];
    return wynik;
}
