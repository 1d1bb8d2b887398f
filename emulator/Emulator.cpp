#include "emulator/Emulator.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <strings.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace pixo::emulator {

namespace {

// Bytes per paced write: about 2 ms of line time, so the other side sees a steady stream.
std::size_t porcjaNaTempo(int baud) {
    return std::max<std::size_t>(1, static_cast<std::size_t>(baud / 10 / 500));
}

// Stale "comN" links (any letter case) from a killed run are removed: the terminal they led
// to went with that run. A link that leads somewhere (a running emulator's terminal, a user's
// link to a USB adapter) and anything that is no link are left alone and refused.
bool przygotujNazwe(const std::string& folder, const std::string& nazwa, std::string& blad) {
    DIR* d = opendir(folder.c_str());
    if (!d) {
        blad = "nie można otworzyć folderu " + folder + ": " + std::strerror(errno);
        return false;
    }
    bool ok = true;
    while (dirent* e = readdir(d)) {
        if (strcasecmp(e->d_name, nazwa.c_str()) != 0)
            continue;
        const std::string s = folder + "/" + e->d_name;
        struct stat st;
        if (lstat(s.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            blad = s + " już istnieje i nie jest dowiązaniem; usuń go albo wybierz inny port";
            ok = false;
        } else if (::stat(s.c_str(), &st) == 0) {
            // The link leads somewhere: a running emulator's terminal or a user's adapter.
            char cel[4096] = {};
            (void)!::readlink(s.c_str(), cel, sizeof cel - 1);
            blad = s + " już istnieje i wskazuje na " + cel +
                   " (działający emulator albo port technika); zatrzymaj tamten emulator, "
                   "usuń dowiązanie albo wybierz inny port";
            ok = false;
        } else {
            ::unlink(s.c_str()); // the terminal of a killed run is gone with it
        }
    }
    closedir(d);
    return ok;
}

} // namespace

Emulator::Emulator(Opcje o) : o_(std::move(o)) {}

Emulator::~Emulator() {
    zamknijPty();
}

double Emulator::teraz() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double Emulator::czasBajtu() const {
    return 10.0 / o_.baud;
}

bool Emulator::otworzPty(std::string& blad) {
    const std::string nazwa = "com" + std::to_string(o_.port);
    if (!przygotujNazwe(o_.folder, nazwa, blad))
        return false;
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        blad = std::string("nie można utworzyć pseudoterminala: ") + std::strerror(errno);
        return false;
    }
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    const char* slave = ptsname(master_);
    if (!slave) {
        blad = "brak nazwy pseudoterminala";
        return false;
    }
    // Raw mode from the start, so that nothing is echoed back before a program sets it.
    const int s = ::open(slave, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (s >= 0) {
        termios t{};
        if (tcgetattr(s, &t) == 0) {
            cfmakeraw(&t);
            tcsetattr(s, TCSANOW, &t);
        }
        ::close(s);
    }
    dowiazanie_ = o_.folder + "/" + nazwa;
    if (::symlink(slave, dowiazanie_.c_str()) != 0) {
        blad = "nie można utworzyć dowiązania " + dowiazanie_ + ": " + std::strerror(errno);
        dowiazanie_.clear();
        return false;
    }
    nikogo_ = true;
    return true;
}

void Emulator::zamknijPty() {
    if (!dowiazanie_.empty()) {
        ::unlink(dowiazanie_.c_str());
        dowiazanie_.clear();
    }
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
}

void Emulator::zerujSesje() {
    doUwolnienia_.clear();
    uwolnionoZ_ = 0;
    dekoder_.wyczysc();
    odrzucone_ = 0;
    czekaNaCisze_ = false;
    odbiorca_.zacznij();
    nadawca_.przerwij();
    nadaje_ = false;
    kolejka_.clear();
    zablokowane_ = false;
}

void Emulator::rozlacz() {
    rozlaczyc_ = false;
    rozlaczono_ = true;
    zamknijPty();
    zerujSesje();
    std::printf("rozłączono po %ld bajtach\n", wyslaneRazem_);
    std::fflush(stdout);
    // Like a cable plugged in again: a fresh pseudo-terminal under the same name.
    std::string blad;
    if (!otworzPty(blad)) {
        std::fprintf(stderr, "pixo-emulator: %s\n", blad.c_str());
        return;
    }
    std::printf("gotowe: %s\n", dowiazanie_.c_str());
    std::fflush(stdout);
}

void Emulator::odebrane(const std::uint8_t* p, std::size_t n, double t) {
    if (uwolnionoZ_ == doUwolnienia_.size()) {
        doUwolnienia_.clear();
        uwolnionoZ_ = 0;
        zegarOdbioru_ = std::max(zegarOdbioru_, t);
    }
    doUwolnienia_.insert(doUwolnienia_.end(), p, p + n);
    uwolnijOdebrane(t);
}

void Emulator::uwolnijOdebrane(double t) {
    std::size_t czeka = doUwolnienia_.size() - uwolnionoZ_;
    if (czeka == 0)
        return;
    std::size_t ile = czeka;
    if (o_.tempo) {
        // A byte "arrives" only when its ten bit times on the line are over.
        const double dostepne = std::floor((t - zegarOdbioru_) / czasBajtu() + 1e-9);
        ile = dostepne <= 0 ? 0 : std::min(czeka, static_cast<std::size_t>(dostepne));
        zegarOdbioru_ += static_cast<double>(ile) * czasBajtu();
    }
    if (ile == 0)
        return;
    dekoder_.dodaj(doUwolnienia_.data() + uwolnionoZ_, ile);
    uwolnionoZ_ += ile;
    obsluzRamki(t);
}

void Emulator::pompujNadawanie(double t) {
    while (master_ >= 0 && !zablokowane_ && !rozlaczyc_ && !kolejka_.empty()) {
        DoWyslania& w = kolejka_.front();
        std::size_t ile = w.bajty.size() - w.wyslano;
        // The line clock runs on its own, like a UART fed from a full buffer: a late wake-up
        // sends what is due at once instead of shifting everything after it.
        const double start = std::max(zegarNadawania_, w.nieWczesniej);
        if (o_.tempo) {
            const double gotowe = std::floor((t - start) / czasBajtu() + 1e-9);
            if (gotowe < 1)
                return; // the first byte is still on the line
            ile = std::min(ile, static_cast<std::size_t>(gotowe));
        } else if (t < w.nieWczesniej) {
            return;
        }
        if (o_.rozlaczPo > 0 && !rozlaczono_)
            ile = std::min<std::size_t>(
                ile, static_cast<std::size_t>(std::max(0L, o_.rozlaczPo - wyslaneRazem_)));
        if (ile == 0) {
            rozlaczyc_ = true;
            return;
        }
        const ssize_t n = ::write(master_, w.bajty.data() + w.wyslano, ile);
        if (n < 0) {
            if (errno == EAGAIN)
                zablokowane_ = true;
            else if (errno != EINTR) {
                zerujSesje(); // EIO: nobody on the other side
                nikogo_ = true;
            }
            return;
        }
        w.wyslano += static_cast<std::size_t>(n);
        wyslaneRazem_ += n;
        if (o_.tempo)
            zegarNadawania_ = start + static_cast<double>(n) * czasBajtu();
        if (w.wyslano == w.bajty.size())
            kolejka_.pop_front();
        if (o_.rozlaczPo > 0 && !rozlaczono_ && wyslaneRazem_ >= o_.rozlaczPo) {
            rozlaczyc_ = true;
            return;
        }
        if (static_cast<std::size_t>(n) < ile) {
            zablokowane_ = true; // the pty took only part: wait until it takes more
            return;
        }
    }
}

double Emulator::nastepnaPobudka(double t) const {
    double p = t + 1.0;
    const std::size_t czeka = doUwolnienia_.size() - uwolnionoZ_;
    if (czeka > 0 && o_.tempo)
        p = std::min(p,
                     zegarOdbioru_ + static_cast<double>(std::min(czeka, porcjaNaTempo(o_.baud))) *
                                         czasBajtu());
    if (!zablokowane_ && !kolejka_.empty()) {
        const double start = std::max(zegarNadawania_, kolejka_.front().nieWczesniej);
        const std::size_t reszta = kolejka_.front().bajty.size() - kolejka_.front().wyslano;
        p = std::min(
            p, o_.tempo ? start + static_cast<double>(std::min(reszta, porcjaNaTempo(o_.baud))) *
                                      czasBajtu()
                        : start);
    }
    if (czekaNaCisze_)
        p = std::min(p, ostatnieSmieci_ + protokol::CISZA_PO_SMIECIACH_MS / 1000.0);
    return p;
}

int Emulator::uruchom(int przerwanie) {
    std::vector<std::uint8_t> bufor(8192);
    for (;;) {
        double t = teraz();
        uwolnijOdebrane(t);
        sprawdzCisze(t);
        pompujNadawanie(t);
        if (rozlaczyc_) {
            rozlacz();
            if (master_ < 0)
                return 1;
            continue;
        }
        t = teraz();
        int ms = static_cast<int>(std::ceil((nastepnaPobudka(t) - t) * 1000.0));
        ms = std::max(0, ms);
        pollfd pf[2] = {{przerwanie, POLLIN, 0}, {master_, 0, 0}};
        if (nikogo_) {
            // The master reports a hangup until a program opens the port; look again soon.
            ms = std::min(ms, 5);
            pf[1].events = POLLIN;
        } else {
            pf[1].events = static_cast<short>(POLLIN | (zablokowane_ ? POLLOUT : 0));
        }
        const int r = ::poll(pf, nikogo_ ? 1 : 2, ms);
        if (r < 0 && errno != EINTR)
            return 1;
        if (pf[0].revents & POLLIN)
            return 0;
        if (nikogo_) {
            pollfd sprawdz{master_, POLLIN, 0};
            if (::poll(&sprawdz, 1, 0) >= 0 && !(sprawdz.revents & POLLHUP))
                nikogo_ = false;
            else
                continue;
        }
        if (pf[1].revents & POLLOUT)
            zablokowane_ = false;
        if (pf[1].revents & (POLLIN | POLLHUP | POLLERR)) {
            const ssize_t n = ::read(master_, bufor.data(), bufor.size());
            if (n > 0) {
                odebrane(bufor.data(), static_cast<std::size_t>(n), teraz());
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                // The program closed the port: whatever was going on is over.
                zerujSesje();
                nikogo_ = true;
            }
        }
    }
}

} // namespace pixo::emulator
