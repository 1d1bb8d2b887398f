#include "transfer/ProcesMostu.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace pixo::most;

namespace {

constexpr off_t kMaksDziennika = 1 << 20;

long long teraz() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::vector<char*> wskazniki(const std::vector<std::string>& teksty) {
    std::vector<char*> w;
    for (const std::string& t : teksty)
        w.push_back(const_cast<char*>(t.c_str()));
    w.push_back(nullptr);
    return w;
}

// The child gets `wejscie` and `wyjscie` as its standard input and output (-1: /dev/null)
// and the log as its standard error, in its own process group, so that a Ctrl+C meant for
// the caller reaches it only through its input closing.
pid_t uruchomProces(const std::vector<std::string>& argumenty,
                    const std::vector<std::string>& srodowisko, const std::string& folder,
                    const std::string& dziennik, int wejscie, int wyjscie, std::string& blad) {
    // Wine's own output is kept for the last runs only.
    struct stat st {};
    if (::stat(dziennik.c_str(), &st) == 0 && st.st_size > kMaksDziennika)
        (void)::truncate(dziennik.c_str(), 0);
    posix_spawn_file_actions_t akcje;
    posix_spawn_file_actions_init(&akcje);
    if (wejscie >= 0)
        posix_spawn_file_actions_adddup2(&akcje, wejscie, STDIN_FILENO);
    else
        posix_spawn_file_actions_addopen(&akcje, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (wyjscie >= 0)
        posix_spawn_file_actions_adddup2(&akcje, wyjscie, STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(&akcje, STDOUT_FILENO, dziennik.c_str(),
                                         O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_addopen(&akcje, STDERR_FILENO, dziennik.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_addchdir_np(&akcje, folder.c_str());
    posix_spawnattr_t atrybuty;
    posix_spawnattr_init(&atrybuty);
    posix_spawnattr_setpgroup(&atrybuty, 0);
    // The caller's blocked signals (pixo-kasa blocks its interrupts) are not the child's.
    sigset_t zadne;
    sigemptyset(&zadne);
    posix_spawnattr_setsigmask(&atrybuty, &zadne);
    posix_spawnattr_setflags(&atrybuty, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK);
    pid_t pid = -1;
    std::vector<char*> argv = wskazniki(argumenty), envp = wskazniki(srodowisko);
    const int e = posix_spawn(&pid, argv[0], &akcje, &atrybuty, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&akcje);
    posix_spawnattr_destroy(&atrybuty);
    if (e != 0) {
        blad = std::strerror(e);
        return -1;
    }
    return pid;
}

std::string opisZakonczenia(int status) {
    if (WIFSIGNALED(status))
        return "sygnał " + std::to_string(WTERMSIG(status));
    return "kod wyjścia " + std::to_string(WEXITSTATUS(status));
}

// Waits up to `ms` for the child; false while it still runs.
bool poczekaj(pid_t pid, int ms, int& status) {
    const long long termin = teraz() + ms;
    for (;;) {
        const pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid || (r < 0 && errno != EINTR))
            return true;
        if (teraz() >= termin)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// A write to a bridge that has died must fail with EPIPE, not end the program with SIGPIPE:
// the signal is blocked on this thread for the write and, if it came, taken off again.
bool piszCale(int fd, const std::uint8_t* p, std::size_t n) {
    sigset_t sigpipe, poprzednie;
    sigemptyset(&sigpipe);
    sigaddset(&sigpipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &sigpipe, &poprzednie);
    bool ok = true;
    while (n > 0) {
        const ssize_t w = ::write(fd, p, n);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0) {
            ok = false;
            break;
        }
        p += w;
        n -= static_cast<std::size_t>(w);
    }
    if (!ok && errno == EPIPE) {
        const timespec zero{0, 0};
        sigtimedwait(&sigpipe, nullptr, &zero);
    }
    pthread_sigmask(SIG_SETMASK, &poprzednie, nullptr);
    return ok;
}

} // namespace

bool ProcesMostu::uruchom(const std::vector<std::string>& argumenty,
                          const std::vector<std::string>& srodowisko, const std::string& folder,
                          const std::string& dziennik, std::string& blad) {
    zatrzymaj();
    int doMostu[2], zMostu[2];
    if (pipe2(doMostu, O_CLOEXEC) != 0) {
        blad = std::strerror(errno);
        return false;
    }
    if (pipe2(zMostu, O_CLOEXEC) != 0) {
        blad = std::strerror(errno);
        ::close(doMostu[0]);
        ::close(doMostu[1]);
        return false;
    }
    m_pid = uruchomProces(argumenty, srodowisko, folder, dziennik, doMostu[0], zMostu[1], blad);
    ::close(doMostu[0]);
    ::close(zMostu[1]);
    m_wejscie = doMostu[1];
    m_wyjscie = zMostu[0];
    if (m_pid < 0) {
        zatrzymaj();
        return false;
    }
    return true;
}

ProcesMostu::Czytanie ProcesMostu::czytaj(std::uint8_t* cel, std::size_t n, long long terminMs) {
    while (n > 0) {
        const long long zostalo = terminMs - teraz();
        if (zostalo <= 0)
            return Czytanie::Czas;
        pollfd p{m_wyjscie, POLLIN, 0};
        const int r = ::poll(&p, 1, static_cast<int>(std::min<long long>(zostalo, 60000)));
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0)
            return Czytanie::Koniec;
        if (r == 0)
            continue;
        const ssize_t k = ::read(m_wyjscie, cel, n);
        if (k < 0 && errno == EINTR)
            continue;
        if (k <= 0)
            return Czytanie::Koniec;
        cel += k;
        n -= static_cast<std::size_t>(k);
    }
    return Czytanie::Ok;
}

ProcesMostu::Odpowiedz ProcesMostu::koniec(Stan stan) {
    Odpowiedz o;
    o.stan = stan;
    if (m_pid > 0) {
        int status = 0;
        // A bridge that has closed its output is on its way out: a moment for its status.
        if (stan == Stan::PozaCzasem || !poczekaj(m_pid, 2000, status)) {
            zabij();
            o.zakonczenie = "zatrzymany";
        } else {
            o.zakonczenie = opisZakonczenia(status);
            m_pid = -1;
        }
    }
    zatrzymaj();
    return o;
}

ProcesMostu::Odpowiedz ProcesMostu::czekajNaGotowosc(int ms, std::uint32_t& maska) {
    const long long termin = teraz() + ms;
    std::uint8_t r[kRozmiarRamkiStalej];
    Czytanie c = czytaj(r, 1, termin);
    if (c == Czytanie::Ok && r[0] == kGotowy) {
        c = czytaj(r + 1, kRozmiarGotowy - 1, termin);
        if (c == Czytanie::Ok && r[1] == kWersja) {
            maska = CzytajU32(r + 2);
            return {};
        }
    } else if (c == Czytanie::Ok && r[0] == kBlad) {
        c = czytaj(r + 1, kRozmiarBledu - 1, termin);
        if (c == Czytanie::Ok) {
            Odpowiedz o = koniec(Stan::Blad);
            o.blad = static_cast<Blad>(r[1]);
            o.biblioteka = static_cast<Biblioteka>(r[2] & 1);
            o.funkcja = r[3];
            o.szczegol = CzytajU32(r + 4);
            return o;
        }
    }
    return koniec(c == Czytanie::Czas ? Stan::PozaCzasem : Stan::Zakonczony);
}

ProcesMostu::Odpowiedz ProcesMostu::wywolaj(Id id, const std::vector<std::uint8_t>& argumenty,
                                            std::vector<std::uint8_t>& wynik,
                                            const std::function<void(unsigned, unsigned)>& postep,
                                            int ms) {
    if (!dziala())
        return koniec(Stan::Zakonczony);
    std::vector<std::uint8_t> ramka{kWywolanie, id};
    ramka.insert(ramka.end(), argumenty.begin(), argumenty.end());
    if (ramka.size() != RozmiarWywolania(id) || !piszCale(m_wejscie, ramka.data(), ramka.size()))
        return koniec(Stan::Zakonczony);
    const long long termin = teraz() + ms;
    for (;;) {
        std::uint8_t r[kRozmiarRamkiStalej];
        Czytanie c = czytaj(r, 1, termin);
        if (c != Czytanie::Ok)
            return koniec(c == Czytanie::Czas ? Stan::PozaCzasem : Stan::Zakonczony);
        if (r[0] == kPostep) {
            if ((c = czytaj(r + 1, kRozmiarPostepu - 1, termin)) != Czytanie::Ok)
                return koniec(c == Czytanie::Czas ? Stan::PozaCzasem : Stan::Zakonczony);
            if (postep)
                postep(CzytajU32(r + 1), CzytajU32(r + 5));
            continue;
        }
        if (r[0] == kWynik) {
            Odpowiedz o;
            wynik.assign(RozmiarWyniku(id) - 1, 0);
            if ((c = czytaj(wynik.data(), wynik.size(), termin)) != Czytanie::Ok)
                return koniec(c == Czytanie::Czas ? Stan::PozaCzasem : Stan::Zakonczony);
            const std::size_t bajty = kFunkcje[id].bajtyWyniku;
            std::uint8_t w[4] = {};
            std::copy_n(wynik.begin(), bajty, w);
            o.wartosc = CzytajU32(w);
            o.wynik = w[0];
            wynik.erase(wynik.begin(), wynik.begin() + static_cast<std::ptrdiff_t>(bajty));
            return o;
        }
        if (r[0] != kBlad || (c = czytaj(r + 1, kRozmiarBledu - 1, termin)) != Czytanie::Ok)
            return koniec(c == Czytanie::Czas ? Stan::PozaCzasem : Stan::Zakonczony);
        const auto blad = static_cast<Blad>(r[1]);
        // A function of the other convention is refused call by call; the bridge lives on.
        Odpowiedz o;
        o.stan = Stan::Blad;
        if (blad != Blad::Konwencja)
            o = koniec(Stan::Blad);
        o.blad = blad;
        o.biblioteka = static_cast<Biblioteka>(r[2] & 1);
        o.funkcja = r[3];
        o.szczegol = CzytajU32(r + 4);
        return o;
    }
}

void ProcesMostu::zabij() {
    if (m_pid <= 0)
        return;
    ::kill(m_pid, SIGKILL);
    int status = 0;
    while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_pid = -1;
}

void ProcesMostu::zatrzymaj() {
    if (m_wejscie >= 0) {
        ::close(m_wejscie);
        m_wejscie = -1;
    }
    if (m_pid > 0) {
        int status = 0;
        if (poczekaj(m_pid, 2000, status))
            m_pid = -1;
        else
            zabij();
    }
    if (m_wyjscie >= 0) {
        ::close(m_wyjscie);
        m_wyjscie = -1;
    }
}

int WykonajProgram(const std::vector<std::string>& argumenty,
                   const std::vector<std::string>& srodowisko, const std::string& folder,
                   const std::string& dziennik, int ms) {
    std::string blad;
    const pid_t pid = uruchomProces(argumenty, srodowisko, folder, dziennik, -1, -1, blad);
    if (pid < 0)
        return -1;
    int status = 0;
    if (!poczekaj(pid, ms, status)) {
        ::kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
