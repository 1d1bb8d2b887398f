#include "transfer/LaczeKasy.h"

#include <QApplication>
#include <QFile>
#include <QWidget>
#include <cstring>
#include <dlfcn.h>

#include "core/BladProgramu.h"
#include "core/CzekanieNaWatku.h"

// The functions the program imports from the two libraries, with the argument lists the
// maker's libraries have.
#ifdef PIXO_Z_KAVREL
#include "link/kavrel/kavrel.h"
#endif
extern "C" {
#ifdef PIXO_Z_SEVRIN
void UnInitializePort(void);
unsigned char InitializePort(unsigned char port, unsigned short baud, unsigned short timeout,
                             unsigned short timeout2);
unsigned char UstawKanal(unsigned char kanal);
unsigned char RSSequence(unsigned char rozkaz, unsigned char licznik, unsigned char licznik2,
                         unsigned char* odbior, unsigned char* nadawanie);
#endif
}

namespace {

LaczeKasy::Bufor buforZ(const QByteArray& bajty, const QString& co) {
    if (bajty.size() >= LaczeKasy::kRozmiarBufora || bajty.contains('\0'))
        throw BladProgramu(
            QStringLiteral("Tekst dla biblioteki kasy nie mieści się w 255 znakach: %1").arg(co));
    LaczeKasy::Bufor b{};
    std::memcpy(b.data(), bajty.constData(), static_cast<std::size_t>(bajty.size()));
    return b;
}

const QString kZapisPliku = QStringLiteral("Zapis pliku");
const QString kPolaczenie = QStringLiteral("Połączenie z kasą");

// Result of a call this build cannot make: the libraries were not there when it was
// configured. No operation may then look successful.
[[maybe_unused]] constexpr std::uint8_t kBezBiblioteki = 255;

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

BibliotekiKasy::BibliotekiKasy(Klepsydra& klepsydra) : m_klepsydra(klepsydra) {
    // Optional: a build of the library without progress reports leaves the busy cursor alone
    // with the operation's name in the progress window.
    m_ustawPostep = reinterpret_cast<UstawPostep>(dlsym(RTLD_DEFAULT, "_UstawPostep"));
    if (m_ustawPostep)
        m_ustawPostep(&naPostep, &m_postep);
}

BibliotekiKasy::~BibliotekiKasy() {
    if (m_ustawPostep)
        m_ustawPostep(nullptr, nullptr);
}

bool BibliotekiKasy::dostepne() {
#if defined(PIXO_Z_KAVREL) && defined(PIXO_Z_SEVRIN)
    return true;
#else
    return false;
#endif
}

// The buffers a call uses are copies owned by the waiting caller; the worker thread touches
// nothing else. The window repainted before the wait is whichever one the user works in.
template <typename F>
std::uint8_t BibliotekiKasy::wTle(const QString& nazwa, const QString& jednostka, F&& wywolanie) {
    QWidget* okno = QApplication::activeModalWidget();
    if (!okno)
        okno = QApplication::activeWindow();
    m_postep.zacznij(nazwa, jednostka);
    return wykonajWTle(m_klepsydra, okno, std::forward<F>(wywolanie), &m_postep);
}

std::uint8_t BibliotekiKasy::ODefKlaw([[maybe_unused]] const QString& wejscie,
                                      [[maybe_unused]] const QString& wyjscie) {
#ifdef PIXO_Z_KAVREL
    const Bufor we = BuforNazwy(wejscie), wy = BuforNazwy(wyjscie);
    return wTle(QStringLiteral("Odczyt definicji klawiszy z kasy"), QStringLiteral("klawiszy"),
                [&] { return __ODefKlaw(we.data(), wy.data()); });
#else
    return kBezBiblioteki;
#endif
}

std::uint8_t BibliotekiKasy::ZDefKlaw([[maybe_unused]] const QString& plik) {
#ifdef PIXO_Z_KAVREL
    const Bufor p = BuforNazwy(plik);
    return wTle(QStringLiteral("Zapis definicji klawiszy do kasy"), {},
                [&] { return __ZDefKlaw(p.data()); });
#else
    return kBezBiblioteki;
#endif
}

std::uint8_t BibliotekiKasy::KDefKlaw([[maybe_unused]] const QString& lista) {
#ifdef PIXO_Z_KAVREL
    const Bufor l = BuforNazwy(lista);
    return wTle(QStringLiteral("Kasowanie definicji klawiszy w kasie"), {},
                [&] { return __KDefKlaw(l.data()); });
#else
    return kBezBiblioteki;
#endif
}

std::uint8_t BibliotekiKasy::TowarMax([[maybe_unused]] const QString& wejscie,
                                      [[maybe_unused]] const QString& wyjscie) {
#ifdef PIXO_Z_KAVREL
    const Bufor we = BuforNazwy(wejscie), wy = BuforNazwy(wyjscie);
    return wTle(QStringLiteral("Odczyt bazy towarowej z kasy"), QStringLiteral("towarów"),
                [&] { return __TowarMax(we.data(), wy.data()); });
#else
    return kBezBiblioteki;
#endif
}

std::uint8_t BibliotekiKasy::OPlat([[maybe_unused]] const QString& wejscie,
                                   [[maybe_unused]] const QString& wyjscie) {
#ifdef PIXO_Z_KAVREL
    const Bufor we = BuforNazwy(wejscie), wy = BuforNazwy(wyjscie);
    return wTle(QStringLiteral("Odczyt płatności z kasy"), QStringLiteral("płatności"),
                [&] { return __OPlat(we.data(), wy.data()); });
#else
    return kBezBiblioteki;
#endif
}

std::uint8_t BibliotekiKasy::OWaluta([[maybe_unused]] const QString& wejscie,
                                     [[maybe_unused]] const QString& wyjscie) {
#ifdef PIXO_Z_KAVREL
    const Bufor we = BuforNazwy(wejscie), wy = BuforNazwy(wyjscie);
    return wTle(QStringLiteral("Odczyt walut z kasy"), QStringLiteral("walut"),
                [&] { return __OWaluta(we.data(), wy.data()); });
#else
    return kBezBiblioteki;
#endif
}

std::uint8_t BibliotekiKasy::OtwartoPlik([[maybe_unused]] std::int32_t& uchwyt,
                                         [[maybe_unused]] const QString& nazwa,
                                         [[maybe_unused]] std::uint8_t tryb) {
#ifdef PIXO_Z_KAVREL
    const Bufor n = BuforNazwy(nazwa);
    std::int32_t u = uchwyt;
    const std::uint8_t wynik =
        wTle(kZapisPliku, {}, [&] { return _OtwartoPlik(&u, n.data(), tryb); });
    uchwyt = u;
    return wynik;
#else
    return 0;
#endif
}

std::uint8_t BibliotekiKasy::ZapisanoDoPlikuLinie([[maybe_unused]] std::int32_t uchwyt,
                                                  [[maybe_unused]] const QByteArray& linia) {
#ifdef PIXO_Z_KAVREL
    const Bufor l = BuforLinii(linia);
    return wTle(kZapisPliku, {}, [&] { return _ZapisanoDoPlikuLinie(uchwyt, l.data()); });
#else
    return 0;
#endif
}

std::uint8_t BibliotekiKasy::ZamknieciePliku([[maybe_unused]] std::int32_t& uchwyt) {
#ifdef PIXO_Z_KAVREL
    std::int32_t u = uchwyt;
    const std::uint8_t wynik = wTle(kZapisPliku, {}, [&] { return _ZamknieciePliku(&u); });
    uchwyt = u;
    return wynik;
#else
    return 0;
#endif
}

void BibliotekiKasy::UnInitializePort() {
#ifdef PIXO_Z_SEVRIN
    wTle(kPolaczenie, {}, [] {
        ::UnInitializePort();
        return std::uint8_t{0};
    });
#endif
}

std::uint8_t BibliotekiKasy::InitializePort([[maybe_unused]] std::uint8_t port,
                                            [[maybe_unused]] std::uint16_t baud,
                                            [[maybe_unused]] std::uint16_t timeout,
                                            [[maybe_unused]] std::uint16_t timeout2) {
#ifdef PIXO_Z_SEVRIN
    return wTle(kPolaczenie, {}, [&] { return ::InitializePort(port, baud, timeout, timeout2); });
#else
    return kBezBiblioteki;
#endif
}

std::uint8_t BibliotekiKasy::UstawKanal([[maybe_unused]] std::uint8_t kanal) {
#ifdef PIXO_Z_SEVRIN
    return wTle(kPolaczenie, {}, [&] { return ::UstawKanal(kanal); });
#else
    return 0;
#endif
}

std::uint8_t BibliotekiKasy::RSSequence([[maybe_unused]] std::uint8_t rozkaz,
                                        [[maybe_unused]] std::uint8_t licznik,
                                        [[maybe_unused]] std::uint8_t licznik2,
                                        [[maybe_unused]] Bufor& odbior,
                                        [[maybe_unused]] const Bufor& nadawanie) {
#ifdef PIXO_Z_SEVRIN
    Bufor od{};
    Bufor nad = nadawanie;
    const std::uint8_t wynik = wTle(kPolaczenie, {}, [&] {
        return ::RSSequence(rozkaz, licznik, licznik2, reinterpret_cast<unsigned char*>(od.data()),
                            reinterpret_cast<unsigned char*>(nad.data()));
    });
    odbior = od;
    return wynik;
#else
    return kBezBiblioteki;
#endif
}
