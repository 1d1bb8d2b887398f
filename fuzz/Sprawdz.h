#pragma once
// What every harness shares: a broken promise stops the run at once, with the input kept; and
// a private folder for the harnesses that read their input from files.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

inline void sprawdz(bool warunek) {
    if (!warunek)
        std::abort();
}

// A folder of this run's own under $TMPDIR (else /tmp), removed when the run ends normally. A
// crashing run leaves it, with the input that crashed; scripts/fuzz.sh points $TMPDIR at a
// folder of its own, which it removes in any case.
inline const char* folderRoboczy() {
    static char folder[4096] = "";
    if (!folder[0]) {
        const char* tmp = std::getenv("TMPDIR");
        std::snprintf(folder, sizeof folder, "%s/pixo-fuzz-XXXXXX", tmp && *tmp ? tmp : "/tmp");
        sprawdz(::mkdtemp(folder) != nullptr);
        std::atexit([] {
            std::error_code e;
            std::filesystem::remove_all(folder, e);
        });
    }
    return folder;
}
