#include "cli/PostepNaTerminalu.h"

#include <QString>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

#include "cli/RaportKasy.h"
#include "core/PostepPracy.h"

namespace {

constexpr auto kOdswiezanie = std::chrono::milliseconds(200);

// A line longer than the terminal wraps, and the carriage return would then redraw only its
// last row.
int szerokoscTerminala() {
    winsize w{};
    if (ioctl(STDERR_FILENO, TIOCGWINSZ, &w) == 0 && w.ws_col > 1)
        return w.ws_col - 1;
    return 79;
}

void rysuj(const QString& tekst) {
    const QByteArray linia = "\r\033[K" + tekst.left(szerokoscTerminala()).toUtf8();
    std::fwrite(linia.constData(), 1, static_cast<std::size_t>(linia.size()), stderr);
    std::fflush(stderr);
}

} // namespace

std::uint8_t PostepNaTerminalu::operator()(const std::function<std::uint8_t()>& wywolanie,
                                           const PostepPracy& postep) const {
    if (!m_naTerminalu)
        return wywolanie();

    std::mutex mutex;
    std::condition_variable budzik;
    bool koniec = false;
    std::thread rysownik([&] {
        CzytnikPostepu czytnik(postep);
        const QString przedrostek =
            QStringLiteral("kasa %1: %2").arg(NumerKasyTekstem(m_kasa), postep.nazwa);
        std::unique_lock<std::mutex> blokada(mutex);
        // The first drawing waits too: a call over in a moment leaves no flicker.
        while (!budzik.wait_for(blokada, kOdswiezanie, [&] { return koniec; })) {
            const StanPostepu s = czytnik.odczytaj();
            rysuj(przedrostek + QStringLiteral("  ") +
                  (s.ilosc.isEmpty() ? s.czas : s.ilosc + QStringLiteral("  ") + s.czas));
        }
        rysuj({});
    });
    // The drawing thread ends whether the call returns or throws.
    struct Zatrzymaj {
        std::mutex& mutex;
        std::condition_variable& budzik;
        bool& koniec;
        std::thread& watek;
        ~Zatrzymaj() {
            {
                const std::lock_guard<std::mutex> b(mutex);
                koniec = true;
            }
            budzik.notify_one();
            watek.join();
        }
    } zatrzymaj{mutex, budzik, koniec, rysownik};
    return wywolanie();
}
