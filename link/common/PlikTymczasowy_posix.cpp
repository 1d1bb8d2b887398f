#include "link/common/PlikTymczasowy.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pixo {

namespace {

constexpr std::size_t kDlugoscPrzyrostka = 8;

std::string losowyPrzyrostek() {
    static std::atomic<unsigned> licznik{0};
    thread_local std::mt19937 los(
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count() ^
                              ::getpid() ^ licznik.fetch_add(1)));
    static constexpr char znaki[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string s(kDlugoscPrzyrostka, 'x');
    for (char& z : s)
        z = znaki[los() % (sizeof znaki - 1)];
    return s;
}

// Where a chain of links ends; the path itself when it is no link. A dangling link leads to
// the file it names, which the write then creates.
std::string plikZaDowiazaniem(const std::string& sciezka) {
    std::string p = sciezka;
    for (int i = 0; i < 40; ++i) { // as many as the system follows itself
        char cel[PATH_MAX];
        const ssize_t n = ::readlink(p.c_str(), cel, sizeof cel - 1);
        if (n < 0)
            return p;
        std::string nastepny(cel, static_cast<std::size_t>(n));
        if (nastepny.empty() || nastepny[0] != '/') {
            const auto ukosnik = p.rfind('/');
            if (ukosnik != std::string::npos)
                nastepny = p.substr(0, ukosnik + 1) + nastepny;
        }
        p = nastepny;
    }
    return p;
}

// Temporaries of `nazwa` that writers killed before they could finish left in `folder`. A
// writer holds a lock on its temporary as long as it lives, so one whose lock can be taken
// has no owner any more; a live writer's temporary is left alone.
void usunOsierocone(const std::string& folder, const std::string& nazwa) {
    DIR* d = ::opendir(folder.c_str());
    if (!d)
        return;
    const std::string poczatek = "." + nazwa + ".";
    while (const dirent* e = ::readdir(d)) {
        const std::string n = e->d_name;
        if (n.size() != poczatek.size() + kDlugoscPrzyrostka + 4 || n.rfind(poczatek, 0) != 0 ||
            n.compare(n.size() - 4, 4, ".tmp") != 0)
            continue;
        const std::string sciezka = folder + "/" + n;
        const int fd = ::open(sciezka.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(sciezka.c_str());
        ::close(fd);
    }
    ::closedir(d);
}

} // namespace

PlikTymczasowy::~PlikTymczasowy() {
    porzuc();
}

bool PlikTymczasowy::niepowodzenie(int blad) {
    blad_ = blad ? blad : EIO;
    porzuc();
    return false;
}

bool PlikTymczasowy::utworz(const std::string& sciezka) {
    porzuc();
    blad_ = 0;
    if (sciezka.empty())
        return niepowodzenie(ENOENT);
    cel_ = plikZaDowiazaniem(sciezka);
    struct stat stary {};
    const bool istnieje = ::stat(cel_.c_str(), &stary) == 0;
    if (istnieje && S_ISDIR(stary.st_mode))
        return niepowodzenie(EISDIR);
    if (istnieje && ::access(cel_.c_str(), W_OK) != 0)
        return niepowodzenie(errno);
    const auto ukosnik = cel_.rfind('/');
    const std::string folder = ukosnik == std::string::npos ? "." : cel_.substr(0, ukosnik + 1);
    const std::string nazwa = ukosnik == std::string::npos ? cel_ : cel_.substr(ukosnik + 1);
    for (int proba = 0; proba < 20; ++proba) {
        const std::string kandydat = (ukosnik == std::string::npos ? std::string() : folder) + "." +
                                     nazwa + "." + losowyPrzyrostek() + ".tmp";
        // Mode 0666 under the user's umask, as any plainly created file.
        const int fd =
            ::open(kandydat.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0) {
            fd_ = fd;
            tymczasowa_ = kandydat;
            // Held until the file is published or dropped (or the process dies), so that the
            // next writer tells this temporary from one a killed writer left behind.
            if (::flock(fd_, LOCK_EX | LOCK_NB) != 0)
                return niepowodzenie(errno);
            if (istnieje && ::fchmod(fd_, stary.st_mode & 07777) != 0)
                return niepowodzenie(errno);
            usunOsierocone(ukosnik == std::string::npos ? "." : cel_.substr(0, ukosnik), nazwa);
            return true;
        }
        if (errno != EEXIST)
            return niepowodzenie(errno);
    }
    return niepowodzenie(EEXIST);
}

bool PlikTymczasowy::zapisz(std::string_view dane) {
    if (fd_ < 0)
        return false;
    while (!dane.empty()) {
        const ssize_t n = ::write(fd_, dane.data(), dane.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return niepowodzenie(errno);
        }
        dane.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool PlikTymczasowy::opublikuj() {
    if (fd_ < 0)
        return false;
    // Synced before the rename: after a power loss the new name never holds a file whose
    // data did not reach the disk.
    if (::fsync(fd_) != 0)
        return niepowodzenie(errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        return niepowodzenie(errno);
    if (std::rename(tymczasowa_.c_str(), cel_.c_str()) != 0)
        return niepowodzenie(errno);
    tymczasowa_.clear();
    return true;
}

void PlikTymczasowy::porzuc() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!tymczasowa_.empty()) {
        ::unlink(tymczasowa_.c_str());
        tymczasowa_.clear();
    }
}

bool zapiszCalyPlik(const std::string& sciezka, std::string_view tresc, int* blad) {
    PlikTymczasowy plik;
    const bool ok = plik.utworz(sciezka) && plik.zapisz(tresc) && plik.opublikuj();
    if (!ok && blad)
        *blad = plik.bladSystemu();
    return ok;
}

} // namespace pixo
