#include "transfer/LaczeKasy.h"

#include <QFile>
#include <cstring>
#include <dlfcn.h>

#include "core/BladProgramu.h"

// The functions the program imports from the two libraries, declared once by each library's
// own header, so the compiler checks both sides.
#include "link/kavrel/kavrel.h"
#include "link/sevrin/sevrin.h"

namespace {

LaczeKasy::Bufor buforZ(const QByteArray& bajty, const QString& co) {
    if (bajty.size() >= LaczeKasy::kRozmiarBufora || bajty.contains('\0'))
        throw BladProgramu(
            QStringLiteral("Tekst dla biblioteki kasy nie mieści się w 255 znakach: %1").arg(co));
    LaczeKasy::Bufor b{};
    std::memcpy(b.data(), bajty.constData(), static_cast<std::size_t>(bajty.size()));
    return b;
}

// The result of a port that could not be opened, and of a failed InitializePort.
constexpr std::uint8_t kPortNiedostepny = 62;
const QString kZapisPliku = QStringLiteral("Zapis pliku");
const QString kPolaczenie = QStringLiteral("Połączenie z kasą");

} // namespace

LaczeKasy::Bufor BuforNazwy(const QString& nazwa) {
    return buforZ(QFile::encodeName(nazwa), nazwa);
}

LaczeKasy::Bufor BuforLinii(const QByteArray& linia) {
    return buforZ(linia, QString::fromLatin1(linia));
}

namespace {

// Where the protocol library reports progress: the counts of the operation now running.
void naPostep(void* kontekst, unsigned zrobione, unsigned calosc) {
    auto* postep = static_cast<PostepPracy*>(kontekst);
    postep->calosc.store(calosc);
    postep->zrobione.store(zrobione);
}

} // namespace

BibliotekiKasy::BibliotekiKasy(Oczekiwanie oczekiwanie) : m_oczekiwanie(std::move(oczekiwanie)) {
    // Optional: a build of the library without progress reports leaves the busy cursor alone
    // with the operation's name in the progress window.
    m_ustawPostep = reinterpret_cast<UstawPostep>(dlsym(RTLD_DEFAULT, "_UstawPostep"));
    m_powodKavrel = reinterpret_cast<PowodBledu>(dlsym(RTLD_DEFAULT, "_PowodBleduPortu"));
    m_powodSevrin = reinterpret_cast<PowodBledu>(dlsym(RTLD_DEFAULT, "PowodBleduPortu"));
    m_bladSystemuPliku = reinterpret_cast<BladPliku>(dlsym(RTLD_DEFAULT, "_BladSystemuPliku"));
    m_powodKonfiguracjiKavrel =
        reinterpret_cast<PowodBledu>(dlsym(RTLD_DEFAULT, "_PowodBleduKonfiguracji"));
    if (m_ustawPostep)
        m_ustawPostep(&naPostep, &m_postep);
}

BibliotekiKasy::~BibliotekiKasy() {
    if (m_ustawPostep)
        m_ustawPostep(nullptr, nullptr);
}

// The buffers a call uses are copies owned by the waiting caller; the worker thread touches
// nothing else.
template <typename F>
std::uint8_t BibliotekiKasy::wTle(const QString& nazwa, const QString& jednostka, PowodBledu powod,
                                  F&& wywolanie) {
    m_postep.zacznij(nazwa, jednostka);
    m_powodBledu.clear();
    const std::uint8_t wynik =
        m_oczekiwanie(std::function<std::uint8_t()>(std::forward<F>(wywolanie)), m_postep);
    if (wynik == kPortNiedostepny && powod) {
        char bufor[kRozmiarBufora] = {};
        if (powod(bufor))
            m_powodBledu = QString::fromUtf8(bufor);
    }
    return wynik;
}

// The library says what was wrong with KONFIG.TXT after an operation that failed on it, and
// gives an empty text after any other.
std::uint8_t BibliotekiKasy::poOperacjiKasy(std::uint8_t wynik) {
    m_powodKonfiguracji.clear();
    char bufor[kRozmiarBufora] = {};
    if (m_powodKonfiguracjiKavrel && m_powodKonfiguracjiKavrel(bufor))
        m_powodKonfiguracji = QString::fromUtf8(bufor);
    return wynik;
}

std::uint8_t BibliotekiKasy::ODefKlaw(const QString& wejscie, const QString& wyjscie) {
    const Bufor we = BuforNazwy(wejscie), wy = BuforNazwy(wyjscie);
    return poOperacjiKasy(wTle(QStringLiteral("Odczyt definicji klawiszy z kasy"),
                               QStringLiteral("klawiszy"), m_powodKavrel,
                               [&] { return __ODefKlaw(we.data(), wy.data()); }));
}

std::uint8_t BibliotekiKasy::ZDefKlaw(const QString& plik) {
    const Bufor p = BuforNazwy(plik);
    return poOperacjiKasy(wTle(QStringLiteral("Zapis definicji klawiszy do kasy"), {},
                               m_powodKavrel, [&] { return __ZDefKlaw(p.data()); }));
}

std::uint8_t BibliotekiKasy::KDefKlaw(const QString& lista) {
    const Bufor l = BuforNazwy(lista);
    return poOperacjiKasy(wTle(QStringLiteral("Kasowanie definicji klawiszy w kasie"), {},
                               m_powodKavrel, [&] { return __KDefKlaw(l.data()); }));
}

std::uint8_t BibliotekiKasy::TowarMax(const QString& wejscie, const QString& wyjscie) {
    const Bufor we = BuforNazwy(wejscie), wy = BuforNazwy(wyjscie);
    return poOperacjiKasy(wTle(QStringLiteral("Odczyt bazy towarowej z kasy"),
                               QStringLiteral("towarów"), m_powodKavrel,
                               [&] { return __TowarMax(we.data(), wy.data()); }));
}

std::uint8_t BibliotekiKasy::OPlat(const QString& wejscie, const QString& wyjscie) {
    const Bufor we = BuforNazwy(wejscie), wy = BuforNazwy(wyjscie);
    return poOperacjiKasy(wTle(QStringLiteral("Odczyt płatności z kasy"),
                               QStringLiteral("płatności"), m_powodKavrel,
                               [&] { return __OPlat(we.data(), wy.data()); }));
}

std::uint8_t BibliotekiKasy::OWaluta(const QString& wejscie, const QString& wyjscie) {
    const Bufor we = BuforNazwy(wejscie), wy = BuforNazwy(wyjscie);
    return poOperacjiKasy(wTle(QStringLiteral("Odczyt walut z kasy"), QStringLiteral("walut"),
                               m_powodKavrel, [&] { return __OWaluta(we.data(), wy.data()); }));
}

std::uint8_t BibliotekiKasy::zapamietajBladPliku(std::uint8_t wynik) {
    m_bladPliku = wynik == 0 && m_bladSystemuPliku ? m_bladSystemuPliku() : 0;
    return wynik;
}

std::uint8_t BibliotekiKasy::OtwartoPlik(std::int32_t& uchwyt, const QString& nazwa,
                                         std::uint8_t tryb) {
    const Bufor n = BuforNazwy(nazwa);
    std::int32_t u = uchwyt;
    const std::uint8_t wynik =
        wTle(kZapisPliku, {}, nullptr, [&] { return _OtwartoPlik(&u, n.data(), tryb); });
    uchwyt = u;
    return zapamietajBladPliku(wynik);
}

std::uint8_t BibliotekiKasy::ZapisanoDoPlikuLinie(std::int32_t uchwyt, const QByteArray& linia) {
    const Bufor l = BuforLinii(linia);
    return zapamietajBladPliku(
        wTle(kZapisPliku, {}, nullptr, [&] { return _ZapisanoDoPlikuLinie(uchwyt, l.data()); }));
}

std::uint8_t BibliotekiKasy::ZamknieciePliku(std::int32_t& uchwyt) {
    std::int32_t u = uchwyt;
    const std::uint8_t wynik = wTle(kZapisPliku, {}, nullptr, [&] { return _ZamknieciePliku(&u); });
    uchwyt = u;
    return zapamietajBladPliku(wynik);
}

void BibliotekiKasy::UnInitializePort() {
    wTle(kPolaczenie, {}, m_powodSevrin, [] {
        ::UnInitializePort();
        return std::uint8_t{0};
    });
}

std::uint8_t BibliotekiKasy::InitializePort(std::uint8_t port, std::uint16_t baud,
                                            std::uint16_t timeout, std::uint16_t timeout2) {
    return wTle(kPolaczenie, {}, m_powodSevrin,
                [&] { return ::InitializePort(port, baud, timeout, timeout2); });
}

std::uint8_t BibliotekiKasy::UstawKanal(std::uint8_t kanal) {
    return wTle(kPolaczenie, {}, m_powodSevrin, [&] { return ::UstawKanal(kanal); });
}

std::uint8_t BibliotekiKasy::RSSequence(std::uint8_t rozkaz, std::uint8_t licznik,
                                        std::uint8_t licznik2, Bufor& odbior,
                                        const Bufor& nadawanie) {
    Bufor od{};
    Bufor nad = nadawanie;
    const std::uint8_t wynik = wTle(kPolaczenie, {}, m_powodSevrin, [&] {
        return ::RSSequence(rozkaz, licznik, licznik2, reinterpret_cast<unsigned char*>(od.data()),
                            reinterpret_cast<unsigned char*>(nad.data()));
    });
    odbior = od;
    return wynik;
}
