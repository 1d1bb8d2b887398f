#include "link/common/OdczytPliku.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pixo {

WynikOdczytu czytajCalyPlik(const std::string& sciezka, std::size_t maksBajtow,
                            std::string& tresc) {
    tresc.clear();
    // Non-blocking, so that opening a FIFO does not wait for a writer.
    const int fd = ::open(sciezka.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return WynikOdczytu::NieOtwarto;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return WynikOdczytu::NieOtwarto;
    }
    char blok[4096];
    bool blad = false;
    for (;;) {
        const ssize_t n = ::read(fd, blok, sizeof blok);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            blad = true;
            break;
        }
        if (n == 0)
            break;
        tresc.append(blok, static_cast<std::size_t>(n));
        if (tresc.size() > maksBajtow)
            break;
    }
    ::close(fd);
    if (blad)
        return WynikOdczytu::NieOtwarto;
    return tresc.size() > maksBajtow ? WynikOdczytu::ZaDuzy : WynikOdczytu::Ok;
}

} // namespace pixo
