#pragma once
// Writing a file whole or not at all: the one writer of the project. The register libraries
// and the emulator use it directly; the program through core/ZapisPliku.h. Plain C++ and
// POSIX, no Qt.
//
// - The data go to a temporary file beside the target, which is renamed over the target only
//   when every byte has been written, synced to disk and the file closed without error. After
//   a failure, a crash or a power loss the old file or the new one is there, whole; a failure
//   removes the temporary at once, a crash leaves it (".<name>.<random>.tmp", hidden) and the
//   next write of that file removes it. A writer locks its temporary (flock) while it lives,
//   which tells a killed writer's leftover from a running one's.
// - Links: followed. A target that is a symbolic link stays that link; the file it leads to
//   is replaced.
// - Permissions: an existing target keeps its mode; a new one gets 0666 less the umask (the
//   kernel applies it when the temporary is created; the process-wide umask is never touched,
//   other threads run beside us).
// - A target the user may not write is refused, as a plain write would refuse it.
// The POSIX code is PlikTymczasowy_posix.cpp. PlikTymczasowy_win.cpp, for the maker-compatible
// DLLs, keeps the same promise with FlushFileBuffers and MoveFileEx (replace, write through);
// the temporary's open handle, which shares nothing, is its writer's lock; a read-only target
// is refused; links and modes are left to the system (a new file's attributes); error numbers
// are the errno values of the matching Windows errors.

#include <string>
#include <string_view>

namespace pixo {

class PlikTymczasowy {
public:
    PlikTymczasowy() = default;
    PlikTymczasowy(const PlikTymczasowy&) = delete;
    PlikTymczasowy& operator=(const PlikTymczasowy&) = delete;
    ~PlikTymczasowy(); // an unpublished temporary is removed

    // Creates the temporary for `sciezka`. False when the folder does not exist or cannot be
    // written, or the target cannot (bladSystemu() tells why).
    bool utworz(const std::string& sciezka);
    bool zapisz(std::string_view dane);
    // Syncs, closes and renames over the target; false (and the temporary removed) on any
    // failure.
    bool opublikuj();
    // Drops the temporary; the target is left as it was.
    void porzuc();

    // The system's error number of the last failure (0 when none).
    int bladSystemu() const { return blad_; }
    const std::string& sciezkaTymczasowa() const { return tymczasowa_; }
    const std::string& cel() const { return cel_; }

private:
    bool niepowodzenie(int blad);

    int fd_ = -1;
    int blad_ = 0;
    std::string tymczasowa_;
    std::string cel_; // the file replaced: the target, or where its link leads
};

// Writes a whole file at once; false with the reason in `blad` (an errno value) when given.
bool zapiszCalyPlik(const std::string& sciezka, std::string_view tresc, int* blad = nullptr);

} // namespace pixo
