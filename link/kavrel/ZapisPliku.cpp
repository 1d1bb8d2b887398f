#include "link/kavrel/ZapisPliku.h"

#include "link/kavrel/Wspolne.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <mutex>
#include <random>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace pixo::kavrel {

namespace {

std::string losowyPrzyrostek() {
    static std::atomic<unsigned> licznik{0};
    thread_local std::mt19937 los(
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count() ^
                              ::getpid() ^ licznik.fetch_add(1)));
    static constexpr char znaki[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string s(8, 'x');
    for (char& z : s)
        z = znaki[los() % (sizeof znaki - 1)];
    return s;
}

} // namespace

PlikTymczasowy::~PlikTymczasowy() {
    porzuc();
}

bool PlikTymczasowy::utworz(const std::string& nazwa) {
    porzuc();
    if (nazwa.empty())
        return false;
    cel_ = plikBezWielkosci(nazwa);
    const fs::path sciezka(cel_);
    const fs::path folder = sciezka.has_parent_path() ? sciezka.parent_path() : fs::path(".");
    for (int proba = 0; proba < 20; ++proba) {
        const std::string kandydat = (folder / (".kavrel-" + losowyPrzyrostek() + ".tmp")).string();
        // Mode 0666 under the user's umask, as any plainly created file.
        const int fd =
            ::open(kandydat.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0) {
            fd_ = fd;
            tymczasowa_ = kandydat;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

bool PlikTymczasowy::zapisz(std::string_view dane) {
    if (fd_ < 0)
        return false;
    while (!dane.empty()) {
        const ssize_t n = ::write(fd_, dane.data(), dane.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        dane.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool PlikTymczasowy::opublikuj() {
    if (fd_ < 0)
        return false;
    const bool zapisano = ::fsync(fd_) == 0;
    const bool zamknieto = ::close(fd_) == 0;
    fd_ = -1;
    if (!zapisano || !zamknieto || std::rename(tymczasowa_.c_str(), cel_.c_str()) != 0) {
        ::unlink(tymczasowa_.c_str());
        tymczasowa_.clear();
        return false;
    }
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

std::uint8_t zapiszCalyPlik(const std::string& nazwa, std::string_view tresc) {
    PlikTymczasowy plik;
    if (!plik.utworz(nazwa))
        return kod::NieOtwartoWyjscia;
    if (!plik.zapisz(tresc) || !plik.opublikuj())
        return kod::ZapisWyjscia;
    return kod::Ok;
}

// ---- line-file writer ----

namespace {

struct PlikLiniowy {
    PlikTymczasowy plik;
    bool blad = false;
};

std::mutex mutexPlikow;
std::array<std::unique_ptr<PlikLiniowy>, MaksPlikowLiniowych> plikiLiniowe;

PlikLiniowy* wpis(std::int32_t uchwyt) {
    if (uchwyt < 1 || uchwyt > MaksPlikowLiniowych)
        return nullptr;
    return plikiLiniowe[static_cast<std::size_t>(uchwyt - 1)].get();
}

} // namespace

unsigned char otworzPlikLiniowy(std::int32_t* uchwyt, const char* nazwa, unsigned char tryb) {
    if (uchwyt == nullptr)
        return 0;
    std::string n;
    if (tryb != 1 || !tekstZBufora(nazwa, n) || n.empty())
        return 0;
    std::error_code ec;
    if (fs::is_directory(plikBezWielkosci(n), ec))
        return 0; // a folder cannot be replaced by the file at its close
    auto nowy = std::make_unique<PlikLiniowy>();
    if (!nowy->plik.utworz(n))
        return 0;
    std::lock_guard blokada(mutexPlikow);
    for (std::size_t i = 0; i < plikiLiniowe.size(); ++i) {
        if (!plikiLiniowe[i]) {
            plikiLiniowe[i] = std::move(nowy);
            *uchwyt = static_cast<std::int32_t>(i + 1);
            return 1;
        }
    }
    return 0; // table full; the temporary goes with `nowy`
}

unsigned char zapiszLiniePliku(std::int32_t uchwyt, const char* linia) {
    std::lock_guard blokada(mutexPlikow);
    PlikLiniowy* p = wpis(uchwyt);
    if (p == nullptr)
        return 0;
    std::string tekst;
    // A line with its own line breaks would not be one line any more.
    if (p->blad || !tekstZBufora(linia, tekst) ||
        tekst.find_first_of("\r\n") != std::string::npos) {
        p->blad = true;
        return 0;
    }
    tekst += "\r\n";
    if (!p->plik.zapisz(tekst)) {
        p->blad = true;
        return 0;
    }
    return 1;
}

unsigned char zamknijPlikLiniowy(std::int32_t* uchwyt) {
    if (uchwyt == nullptr)
        return 0;
    std::unique_ptr<PlikLiniowy> p;
    {
        std::lock_guard blokada(mutexPlikow);
        if (wpis(*uchwyt) == nullptr)
            return 0;
        p = std::move(plikiLiniowe[static_cast<std::size_t>(*uchwyt - 1)]);
        *uchwyt = 0;
    }
    if (p->blad)
        return 0; // the temporary is removed with `p`
    return p->plik.opublikuj() ? 1 : 0;
}

} // namespace pixo::kavrel
