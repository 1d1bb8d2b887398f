#include "core/BladProgramu.h"

QString komunikatWyjatku(const std::exception& e) {
    if (auto* b = dynamic_cast<const BladProgramu*>(&e))
        return b->komunikat();
    return QString::fromLocal8Bit(e.what());
}
