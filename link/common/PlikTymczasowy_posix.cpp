#include "link/common/PlikTymczasowy.h"

#include <algorithm>
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
#include <utility>
#include <vector>

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

// Whether following the link `sciezka` (whose own data `dowiazanie` holds) is refused, as the
// kernel's protected_symlinks refuses it: a link in a sticky, world-writable folder (such as
// /tmp) that belongs neither to the caller nor to the folder's owner may have been planted
// there to aim the write at a file of its maker's choosing. The writer resolves links itself
// and renames onto where they lead, so the kernel never gets to ask.
bool obceDowiazanie(const std::string& sciezka, const struct stat& dowiazanie) {
    const auto ukosnik = sciezka.rfind('/');
    const std::string folder = ukosnik == std::string::npos ? "."
                               : ukosnik == 0               ? "/"
                                                            : sciezka.substr(0, ukosnik);
    struct stat f {};
    if (::stat(folder.c_str(), &f) != 0)
        return false;
    return (f.st_mode & S_ISVTX) && (f.st_mode & S_IWOTH) && dowiazanie.st_uid != ::geteuid() &&
           dowiazanie.st_uid != f.st_uid;
}

// Where a chain of links ends, in `cel`; the path itself when it is no link. A dangling link
// leads to the file it names, which the write then creates. False with the reason in `blad`
// when a link of the chain may not be followed or the chain does not end.
bool plikZaDowiazaniem(const std::string& sciezka, std::string& cel, int& blad) {
    std::string p = sciezka;
    for (int i = 0; i < 40; ++i) { // as many as the system follows itself
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            cel = p;
            return true;
        }
        if (obceDowiazanie(p, st)) {
            blad = kObceDowiazanie;
            return false;
        }
        char nastepny[PATH_MAX];
        const ssize_t n = ::readlink(p.c_str(), nastepny, sizeof nastepny - 1);
        if (n < 0) {
            blad = errno;
            return false;
        }
        std::string t(nastepny, static_cast<std::size_t>(n));
        if (t.empty() || t[0] != '/') {
            const auto ukosnik = p.rfind('/');
            if (ukosnik != std::string::npos)
                t = p.substr(0, ukosnik + 1) + t;
        }
        p = t;
    }
    blad = ELOOP;
    return false;
}

// The folder to look through for a file's temporaries (as opendir takes it) and the file's
// name in it.
std::pair<std::string, std::string> folderINazwa(const std::string& cel) {
    const auto ukosnik = cel.rfind('/');
    if (ukosnik == std::string::npos)
        return {".", cel};
    return {ukosnik == 0 ? "/" : cel.substr(0, ukosnik), cel.substr(ukosnik + 1)};
}

// Temporaries of the files `nazwy` that writers killed before they could finish left in
// `folder`. A writer holds a lock on its temporary as long as it lives, so one whose lock can
// be taken has no owner any more; a live writer's temporary is left alone, and so is the one
// named `wlasna`, the caller's own.
void usunOsierocone(const std::string& folder, const std::vector<std::string>& nazwy,
                    const std::string& wlasna) {
    DIR* d = ::opendir(folder.c_str());
    if (!d)
        return;
    const auto temporaryPliku = [&nazwy](const std::string& n) {
        for (const std::string& nazwa : nazwy)
            if (n.size() == nazwa.size() + 2 + kDlugoscPrzyrostka + 4 && n[0] == '.' &&
                n.compare(1, nazwa.size(), nazwa) == 0 && n[nazwa.size() + 1] == '.' &&
                n.compare(n.size() - 4, 4, ".tmp") == 0)
                return true;
        return false;
    };
    while (const dirent* e = ::readdir(d)) {
        const std::string n = e->d_name;
        if (!temporaryPliku(n) || n == wlasna)
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

const char* przyczynaWlasna(int blad) {
    switch (blad) {
    case kNieZwyklyPlik:
        return "to nie jest zwykły plik, lecz urządzenie, potok lub gniazdo";
    case kObceDowiazanie:
        return "to dowiązanie innego użytkownika w folderze wspólnym";
    default:
        return nullptr;
    }
}

PlikTymczasowy::~PlikTymczasowy() {
    porzuc();
}

bool PlikTymczasowy::niepowodzenie(int blad) {
    blad_ = blad ? blad : EIO;
    porzuc();
    return false;
}

bool PlikTymczasowy::utworz(const std::string& sciezka, bool szukajPozostalosci) {
    porzuc();
    blad_ = 0;
    if (sciezka.empty())
        return niepowodzenie(ENOENT);
    int blad = 0;
    if (!plikZaDowiazaniem(sciezka, cel_, blad))
        return niepowodzenie(blad);
    struct stat stary {};
    const bool istnieje = ::stat(cel_.c_str(), &stary) == 0;
    if (istnieje && S_ISDIR(stary.st_mode))
        return niepowodzenie(EISDIR);
    // A device, FIFO or socket is not replaced by a text file (as root, /dev/zero would be).
    if (istnieje && !S_ISREG(stary.st_mode))
        return niepowodzenie(kNieZwyklyPlik);
    if (istnieje && ::access(cel_.c_str(), W_OK) != 0)
        return niepowodzenie(errno);
    const auto [folder, nazwa] = folderINazwa(cel_);
    // The folder as the target names it, with its slash (none for a bare name).
    const std::string przedNazwa = cel_.substr(0, cel_.size() - nazwa.size());
    for (int proba = 0; proba < 20; ++proba) {
        const std::string kandydat = przedNazwa + "." + nazwa + "." + losowyPrzyrostek() + ".tmp";
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
            if (szukajPozostalosci)
                usunOsierocone(folder, {nazwa}, kandydat.substr(przedNazwa.size()));
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
    utrwalony_ = false;
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

bool PlikTymczasowy::utrwal() {
    if (fd_ < 0)
        return false;
    if (::fsync(fd_) != 0)
        return niepowodzenie(errno);
    utrwalony_ = true;
    return true;
}

bool PlikTymczasowy::opublikuj() {
    // Synced before the rename: after a power loss the new name never holds a file whose
    // data did not reach the disk.
    if (fd_ < 0 || (!utrwalony_ && !utrwal()))
        return false;
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
    utrwalony_ = false;
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!tymczasowa_.empty()) {
        ::unlink(tymczasowa_.c_str());
        tymczasowa_.clear();
    }
}

void usunPozostalosci(const std::vector<std::string>& sciezki) {
    std::vector<std::pair<std::string, std::vector<std::string>>> foldery;
    for (const std::string& sciezka : sciezki) {
        std::string cel;
        int blad = 0;
        if (sciezka.empty() || !plikZaDowiazaniem(sciezka, cel, blad))
            continue; // its writer refuses it
        auto [folder, nazwa] = folderINazwa(cel);
        const auto f = std::find_if(foldery.begin(), foldery.end(),
                                    [&folder](const auto& g) { return g.first == folder; });
        if (f == foldery.end())
            foldery.push_back({std::move(folder), {std::move(nazwa)}});
        else
            f->second.push_back(std::move(nazwa));
    }
    for (const auto& [folder, nazwy] : foldery)
        usunOsierocone(folder, nazwy, std::string());
}

bool zapiszCalyPlik(const std::string& sciezka, std::string_view tresc, int* blad) {
    PlikTymczasowy plik;
    const bool ok = plik.utworz(sciezka) && plik.zapisz(tresc) && plik.opublikuj();
    if (!ok && blad)
        *blad = plik.bladSystemu();
    return ok;
}

} // namespace pixo
