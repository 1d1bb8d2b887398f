// libFuzzer harness for the goods, payment and currency lists of the start-up import: any
// bytes load by the rules or are skipped, never a crash, no name longer than a line.

#include <QBuffer>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "Sprawdz.h"
#include "transfer/ListyKasy.h"
#include "transfer/TekstPliku.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
    QByteArray bajty(reinterpret_cast<const char*>(dane), qsizetype(rozmiar));
    {
        QBuffer b(&bajty);
        b.open(QIODevice::ReadOnly);
        std::vector<QByteArray> towary(3072);
        WczytajTowary(b, towary);
        sprawdz(towary.size() == 3072 && towary[0].isEmpty());
        for (const QByteArray& t : towary)
            sprawdz(t.size() < kMaksDlugoscLinii);
    }
    {
        QBuffer b(&bajty);
        b.open(QIODevice::ReadOnly);
        for (const auto& n : WczytajPlatnosci(b))
            sprawdz(!n || (!n->isEmpty() && !n->contains('\t')));
    }
    {
        QBuffer b(&bajty);
        b.open(QIODevice::ReadOnly);
        for (const auto& n : WczytajWaluty(b))
            sprawdz(!n || (!n->isEmpty() && !n->contains('\t')));
    }
    for (int n = 0; n < 5; ++n)
        if (const auto pole = WezPole(bajty.left(300), n))
            sprawdz(!pole->isEmpty() && !pole->contains('\t'));
    return 0;
}
