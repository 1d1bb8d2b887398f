// The bridge to the maker's DLLs under Wine, with our libraries built as such DLLs: the round
// trip of one call (UnInitializePort, which does nothing in the DLL), through the bridge and,
// in the same run, straight into libsevrin.so; and the bridge's start with the prefix in place
// (a fresh BibliotekiWine's first call), the first one and the median of further ones.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "transfer/WyborBibliotek.h"

namespace {

constexpr double kCelWywolaniaMs = 1.0;
constexpr double kCelStartuS = 0.5;

BibliotekiKasy::Oczekiwanie odRazu() {
    return [](const std::function<std::uint8_t()>& w, const PostepPracy&) { return w(); };
}

template <typename F> double mediana(int n, F&& f) {
    std::vector<double> czasy;
    for (int i = 0; i < n; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        czasy.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(czasy.begin(), czasy.end());
    return czasy[czasy.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication aplikacja(argc, argv);
    const QString build = QCoreApplication::applicationDirPath() + "/../..";
    // The benchmark's own prefix in the build folder; made on its first run.
    qputenv("XDG_DATA_HOME", (build + "/bench/wine-dane").toLocal8Bit());
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    for (const char* dll : {"Kavrel.dll", "Sevrin.dll"})
        if (!QFile::copy(build + "/windows/" + dll, dll)) {
            std::fprintf(stderr, "brak %s: zbuduj cel pixo_windows\n", dll);
            return 1;
        }
    const BibliotekiWine::Pliki pliki = *BibliotekiProducenta(".");
    {
        BibliotekiWine przygotowanie(pliki, odRazu());
        przygotowanie.UnInitializePort(); // makes the prefix when it is not there yet
        if (przygotowanie.powodBleduPortu().size()) {
            std::fprintf(stderr, "%s\n", qPrintable(przygotowanie.powodBleduPortu()));
            return 1;
        }
    }

    std::vector<double> starty;
    for (int i = 0; i < 11; ++i) {
        QElapsedTimer t;
        t.start();
        BibliotekiWine l(pliki, odRazu());
        l.UnInitializePort();
        starty.push_back(t.nsecsElapsed() / 1e9);
    }
    const double pierwszy = starty.front();
    std::sort(starty.begin() + 1, starty.end());
    const double start = starty[6];

    BibliotekiWine wine(pliki, odRazu());
    BibliotekiKasy natywne(odRazu());
    wine.UnInitializePort();
    const double przezMost = mediana(5000, [&] { wine.UnInitializePort(); });
    const double wprost = mediana(5000, [&] { natywne.UnInitializePort(); });

    std::printf("Most do bibliotek Windows pod Wine (Kavrel.dll, Sevrin.dll z link/windows)\n");
    std::printf("  wywołanie tam i z powrotem: mediana %.3f ms (cel < %.1f ms) %s; wprost do "
                "libsevrin.so %.4f ms\n",
                przezMost, kCelWywolaniaMs, przezMost < kCelWywolaniaMs ? "OK" : "ZA WOLNO",
                wprost);
    std::printf("  start mostu z gotowym prefiksem: pierwszy %.3f s, mediana 10 kolejnych %.3f s "
                "(cel < %.1f s) %s\n",
                pierwszy, start, kCelStartuS, start < kCelStartuS ? "OK" : "ZA WOLNO");
    return przezMost < kCelWywolaniaMs && start < kCelStartuS ? 0 : 1;
}
