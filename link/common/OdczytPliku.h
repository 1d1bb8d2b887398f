#pragma once
// Reading a small file whole, refusing anything that is not a regular file: a FIFO or a
// device named by mistake must neither block nor stream forever. One file per platform behind
// this header, chosen by the build (OdczytPliku_posix.cpp, OdczytPliku_win.cpp). Plain C++,
// no Qt.

#include <cstddef>
#include <string>

namespace pixo {

enum class WynikOdczytu {
    Ok,
    NieOtwarto, // missing, a folder, not a regular file, unreadable
    ZaDuzy      // more than the limit
};

// The whole content of `sciezka` into `tresc` when it holds at most `maksBajtow` bytes.
// `tresc` is unspecified after a failure.
WynikOdczytu czytajCalyPlik(const std::string& sciezka, std::size_t maksBajtow, std::string& tresc);

} // namespace pixo
