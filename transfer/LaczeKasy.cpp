#include "transfer/LaczeKasy.h"

#include <QApplication>
#include <QFile>
#include <QWidget>
#include <cstring>

#include "core/BladProgramu.h"
#include "core/CzekanieNaWatku.h"

// The functions the program imports from the two libraries, with the argument lists the
// maker's libraries have.
extern "C" {
#ifdef PIXO_Z_KAVREL
unsigned char __ODefKlaw(const char* wejscie, const char* wyjscie);
unsigned char __ZDefKlaw(const char* plik);
unsigned char __KDefKlaw(const char* lista);
unsigned char __TowarMax(const char* wejscie, const char* wyjscie);
unsigned char __OPlat(const char* wejscie, const char* wyjscie);
unsigned char __OWaluta(const char* wejscie, const char* wyjscie);
unsigned char _OtwartoPlik(std::int32_t* uchwyt, const char* nazwa, unsigned char tryb);
unsigned char _ZapisanoDoPlikuLinie(std::int32_t uchwyt, const char* linia);
unsigned char _ZamknieciePliku(std::int32_t* uchwyt);
#endif
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

BibliotekiKasy::BibliotekiKasy(Klepsydra& klepsydra) : m_klepsydra(klepsydra) {}

bool BibliotekiKasy::dostepne() {
#if defined(PIXO_Z_KAVREL) && defined(PIXO_Z_SEVRIN)
    return true;
#else
    return false;
#endif
}

// The buffers a call uses are copies owned by the waiting caller; the worker thread touches
// nothing else. The window repainted before the wait is whichever one the user works in.
template <typename F> std::uint8_t BibliotekiKasy::wTle(F&& wywolanie) {
    QWidget* okno = QApplication::activeModalWidget();
    if (!okno)
        okno = QApplication::activeWindow();
    return wykonajWTle(m_klepsydra, okno, std::forward<F>(wywolanie));
}

std::uint8_t BibliotekiKasy::ODefKlaw([[maybe_unused]] const QString& wejscie,
                                      [[maybe_unused]] const QString& wyjscie) {
#ifdef PIXO_Z_KAVREL
    const Bufor we = BuforNazwy(wejscie), wy = BuforNazwy(wyjscie);
    return wTle([&] { return __ODefKlaw(we.data(), wy.data()); });
#else
    return kBezBiblioteki;
#endif
}

std::uint8_t BibliotekiKasy::ZDefKlaw([[maybe_unused]] const QString& plik) {
#ifdef PIXO_Z_KAVREL
    const Bufor p = BuforNazwy(plik);
    return wTle([&] { return __ZDefKlaw(p.data()); });
#else
    return kBezBiblioteki;
#endif
}

std::uint8_t BibliotekiKasy::KDefKlaw([[maybe_unused]] const QString& lista) {
#ifdef PIXO_Z_KAVREL
    const Bufor l = BuforNazwy(lista);
    return wTle([&] { return __KDefKlaw(l.data()); });
#else
    return kBezBiblioteki;
#endif
}

std::uint8_t BibliotekiKasy::TowarMax([[maybe_unused]] const QString& wejscie,
                                      [[maybe_unused]] const QString& wyjscie) {
#ifdef PIXO_Z_KAVREL
    const Bufor we = BuforNazwy(wejscie), wy = BuforNazwy(wyjscie);
    return wTle([&] { return __TowarMax(we.data(), wy.data()); });
#else
    return kBezBiblioteki;
#endif
}

std::uint8_t BibliotekiKasy::OPlat([[maybe_unused]] const QString& wejscie,
                                   [[maybe_unused]] const QString& wyjscie) {
#ifdef PIXO_Z_KAVREL
    const Bufor we = BuforNazwy(wejscie), wy = BuforNazwy(wyjscie);
    return wTle([&] { return __OPlat(we.data(), wy.data()); });
#else
    return kBezBiblioteki;
#endif
}

std::uint8_t BibliotekiKasy::OWaluta([[maybe_unused]] const QString& wejscie,
                                     [[maybe_unused]] const QString& wyjscie) {
#ifdef PIXO_Z_KAVREL
    const Bufor we = BuforNazwy(wejscie), wy = BuforNazwy(wyjscie);
    return wTle([&] { return __OWaluta(we.data(), wy.data()); });
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
    const std::uint8_t wynik = wTle([&] { return _OtwartoPlik(&u, n.data(), tryb); });
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
    return wTle([&] { return _ZapisanoDoPlikuLinie(uchwyt, l.data()); });
#else
    return 0;
#endif
}

std::uint8_t BibliotekiKasy::ZamknieciePliku([[maybe_unused]] std::int32_t& uchwyt) {
#ifdef PIXO_Z_KAVREL
    std::int32_t u = uchwyt;
    const std::uint8_t wynik = wTle([&] { return _ZamknieciePliku(&u); });
    uchwyt = u;
    return wynik;
#else
    return 0;
#endif
}

void BibliotekiKasy::UnInitializePort() {
#ifdef PIXO_Z_SEVRIN
    wTle([] {
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
    return wTle([&] { return ::InitializePort(port, baud, timeout, timeout2); });
#else
    return kBezBiblioteki;
#endif
}

std::uint8_t BibliotekiKasy::UstawKanal([[maybe_unused]] std::uint8_t kanal) {
#ifdef PIXO_Z_SEVRIN
    return wTle([&] { return ::UstawKanal(kanal); });
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
    const std::uint8_t wynik = wTle([&] {
        return ::RSSequence(rozkaz, licznik, licznik2, reinterpret_cast<unsigned char*>(od.data()),
                            reinterpret_cast<unsigned char*>(nad.data()));
    });
    odbior = od;
    return wynik;
#else
    return kBezBiblioteki;
#endif
}
