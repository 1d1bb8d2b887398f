#include "core/BladProgramu.h"

QString komunikatWyjatku(const std::exception& e) {
    if (auto* b = dynamic_cast<const BladProgramu*>(&e))
        return b->komunikat();
    return QString::fromLocal8Bit(e.what());
}

namespace {
ZglaszanieBledow& zglaszanie() {
    static ZglaszanieBledow z;
    return z;
}
} // namespace

void ustawZglaszanieBledow(ZglaszanieBledow zglos) {
    zglaszanie() = std::move(zglos);
}

void zglosBladObslugi(std::exception_ptr blad) {
    if (!zglaszanie())
        std::rethrow_exception(blad);
    zglaszanie()(blad);
}
