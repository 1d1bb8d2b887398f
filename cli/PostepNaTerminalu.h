#pragma once
// The progress line of pixo-kasa: how the program waits for a register library call
// (BibliotekiKasy::Oczekiwanie). On a terminal, one line on standard error says which register,
// what runs, how much is done and the time left, redrawn a few times a second and wiped when
// the call returns, so the result lines on standard output stay clean. Off a terminal (a pipe,
// a file, a test) nothing is drawn and the call simply runs.

#include <cstdint>
#include <functional>

struct PostepPracy;

class PostepNaTerminalu {
public:
    explicit PostepNaTerminalu(bool naTerminalu) : m_naTerminalu(naTerminalu) {}

    // The register the following calls are for.
    void ustawKase(int kasa) { m_kasa = kasa; }

    std::uint8_t operator()(const std::function<std::uint8_t()>& wywolanie,
                            const PostepPracy& postep) const;

private:
    bool m_naTerminalu;
    int m_kasa = 0;
};
