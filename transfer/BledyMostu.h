#pragma once
// The faults of the way to the maker's DLLs as the technician reads them: from the bridge's
// answer to a call that did not succeed, the code of the way (BibliotekiWine.h) and the text
// BibliotekiWine::powodBleduPortu() then gives. Widget-free; a pure function of its arguments.

#include <QString>
#include <cstdint>

#include "transfer/BibliotekiWine.h"

struct BladMostu {
    std::uint8_t kod = 0; // kKodZlaBiblioteka, kKodAwariaBiblioteki or kKodBibliotekaNieOdpowiada
    QString powod;
};

// `o` answers a call of `id` (or the bridge's start) and its state is not Ok. Out of time:
// 244, naming the function and the limit in seconds. The bridge ended: 243, naming how and its
// log. A fault the bridge reports: 242 for a DLL that does not load (with Windows' reason),
// lacks the function, or takes another number of argument bytes off the stack than the
// maker's convention; 243, naming the exception, for a DLL that crashed.
BladMostu OpiszBladMostu(const ProcesMostu::Odpowiedz& o, pixo::most::Id id,
                         const BibliotekiWine::Pliki& pliki, const UstawieniaWine& ustawienia);
