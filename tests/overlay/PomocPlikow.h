#pragma once
// Helpers for the overlay tests: a file-size limit that makes writes fail as on a full disk.

#include <csignal>
#include <sys/resource.h>

// While alive, any write past `bajty` bytes in a file fails (EFBIG), as a full disk would
// fail it; the process is not killed by the limit signal.
class LimitRozmiaruPliku {
public:
    explicit LimitRozmiaruPliku(rlim_t bajty) {
        m_sygnal = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_przed);
        rlimit nowy = m_przed;
        nowy.rlim_cur = bajty;
        setrlimit(RLIMIT_FSIZE, &nowy);
    }
    ~LimitRozmiaruPliku() {
        setrlimit(RLIMIT_FSIZE, &m_przed);
        std::signal(SIGXFSZ, m_sygnal);
    }
    LimitRozmiaruPliku(const LimitRozmiaruPliku&) = delete;
    LimitRozmiaruPliku& operator=(const LimitRozmiaruPliku&) = delete;

private:
    rlimit m_przed{};
    void (*m_sygnal)(int) = nullptr;
};
