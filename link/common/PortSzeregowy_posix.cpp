#include "link/common/PortSzeregowy.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <strings.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace pixo {

namespace {

using Zegar = std::chrono::steady_clock;

int pozostaloMs(Zegar::time_point termin) {
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(termin - Zegar::now()).count();
    return ms < 0 ? 0 : static_cast<int>(ms);
}

speed_t stalaPredkosci(int baud) {
    switch (baud) {
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    default:
        return 0;
    }
}

std::string powodBledu(int e, const std::string& sciezka) {
    switch (e) {
    case ENOENT:
    case ENXIO:
    case ENODEV:
        return "Port " + sciezka + " nie istnieje (brak urządzenia lub zerwane dowiązanie).";
    case EACCES:
    case EPERM:
        return "Brak uprawnień do portu " + sciezka +
               ". Użytkownik musi należeć do grupy dialout (sudo usermod -aG dialout "
               "<użytkownik>, potem wylogowanie i ponowne zalogowanie).";
    case EBUSY:
    case EWOULDBLOCK:
        return "Port " + sciezka + " jest zajęty przez inny program.";
    default:
        return "Nie można otworzyć portu " + sciezka + ": " + std::strerror(e) + ".";
    }
}

} // namespace

PortSzeregowy::~PortSzeregowy() {
    zamknij();
}

std::string PortSzeregowy::sciezka(const std::string& katalog, int numer) {
    const std::string szukana = "com" + std::to_string(numer);
    const std::string kat = katalog.empty() ? "." : katalog;
    if (DIR* d = opendir(kat.c_str())) {
        std::string znaleziona;
        while (dirent* e = readdir(d)) {
            if (strcasecmp(e->d_name, szukana.c_str()) == 0) {
                znaleziona = e->d_name;
                break;
            }
        }
        closedir(d);
        if (!znaleziona.empty())
            return kat + "/" + znaleziona;
    }
    return "/dev/ttyS" + std::to_string(numer - 1);
}

std::uint8_t PortSzeregowy::otworz(const std::string& katalog, int numer, int baud,
                                   std::string& powod) {
    if (numer < 1 || numer > 255) {
        powod = "Niepoprawny numer portu " + std::to_string(numer) + ".";
        return 62;
    }
    return otworzSciezke(sciezka(katalog, numer), baud, powod);
}

std::uint8_t PortSzeregowy::otworzSciezke(const std::string& sciezka, int baud,
                                          std::string& powod) {
    zamknij();
    powod.clear();
    if (baud < 300 || baud > 4000000) { // 0 would mean "hang up" to the driver
        powod = "Niepoprawna szybkość transmisji " + std::to_string(baud) + ".";
        return 62;
    }
    const int fd = ::open(sciezka.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        powod = powodBledu(errno, sciezka);
        return 62;
    }
    auto porazka = [&](const std::string& tekst) -> std::uint8_t {
        ::close(fd);
        powod = tekst;
        return 62;
    };
    if (!isatty(fd))
        return porazka(sciezka + " nie jest portem szeregowym.");
    // flock catches a second opener even where TIOCEXCL does not (root, some pty drivers).
    if (flock(fd, LOCK_EX | LOCK_NB) != 0)
        return porazka(powodBledu(errno == EWOULDBLOCK ? EBUSY : errno, sciezka));
    (void)ioctl(fd, TIOCEXCL); // a pseudo-terminal may refuse; flock already guards it

    termios t{};
    if (tcgetattr(fd, &t) != 0)
        return porazka(powodBledu(errno, sciezka));
    cfmakeraw(&t);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    t.c_cflag |= CS8 | CLOCAL | CREAD;
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    const speed_t s = stalaPredkosci(baud);
    if (s != 0) {
        cfsetispeed(&t, s);
        cfsetospeed(&t, s);
    }
    if (tcsetattr(fd, TCSANOW, &t) != 0)
        return porazka(powodBledu(errno, sciezka));
    if (s == 0 && !ustawPredkoscNiestandardowa(fd, baud))
        return porazka("Port " + sciezka + " nie obsługuje szybkości " + std::to_string(baud) +
                       ".");
    tcflush(fd, TCIOFLUSH);
    fd_ = fd;
    return 0;
}

void PortSzeregowy::zamknij() {
    if (fd_ < 0)
        return;
    // A pseudo-terminal keeps its exclusive flag while the other side holds it open.
    (void)ioctl(fd_, TIOCNXCL);
    flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}

std::uint8_t PortSzeregowy::pisz(const std::uint8_t* p, std::size_t n, int timeoutMs) {
    if (fd_ < 0)
        return 20;
    const auto termin = Zegar::now() + std::chrono::milliseconds(timeoutMs);
    while (n > 0) {
        const ssize_t w = ::write(fd_, p, n);
        if (w > 0) {
            p += w;
            n -= static_cast<std::size_t>(w);
            continue;
        }
        if (w < 0 && errno == EINTR)
            continue;
        if (w < 0 && errno != EAGAIN)
            return 20;
        pollfd pf{fd_, POLLOUT, 0};
        const int r = ::poll(&pf, 1, pozostaloMs(termin));
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0 || (pf.revents & (POLLERR | POLLHUP | POLLNVAL)))
            return 20;
    }
    return 0;
}

long PortSzeregowy::czytaj(std::uint8_t* bufor, std::size_t maks, int timeoutMs) {
    if (fd_ < 0)
        return -1;
    const auto termin = Zegar::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        pollfd pf{fd_, POLLIN, 0};
        const int p = ::poll(&pf, 1, pozostaloMs(termin));
        if (p < 0 && errno == EINTR)
            continue;
        if (p < 0 || (pf.revents & POLLNVAL))
            return -1;
        if (p == 0)
            return 0;
        const bool rozlaczony = pf.revents & (POLLHUP | POLLERR);
        // Raw mode with VMIN = VTIME = 0 answers 0 both for "nothing yet" and after a hangup,
        // so the hangup is told by poll().
        const ssize_t r = ::read(fd_, bufor, maks);
        if (r > 0)
            return static_cast<long>(r);
        if (r < 0 && errno != EINTR && errno != EAGAIN)
            return -1; // EIO: adapter unplugged or pseudo-terminal closed
        if (rozlaczony)
            return -1;
    }
}

void PortSzeregowy::oproznijWejscie() {
    if (fd_ >= 0)
        tcflush(fd_, TCIFLUSH);
}

} // namespace pixo
