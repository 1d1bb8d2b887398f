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
// - Links: followed to the file they lead to, which is replaced; the link stays that link (a
//   linked KONFIG.TXT stays linked). A link in a sticky, world-writable folder (such as /tmp)
//   that belongs neither to the caller nor to the folder's owner is refused (kObceDowiazanie),
//   as the kernel's protected_symlinks refuses to follow it: another user may have planted it.
// - Targets: only a regular file is replaced. A folder is refused (EISDIR); a device node,
//   FIFO or socket (kNieZwyklyPlik) too, also at the end of a link, and is left as it was.
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
#include <vector>

namespace pixo {

// Reasons of the writer's own, beside the system's error numbers (above every errno value).
inline constexpr int kNieZwyklyPlik = 0x10001;  // the target is a device, FIFO or socket
inline constexpr int kObceDowiazanie = 0x10002; // another user's link in a shared folder

// The reason for one of the two codes above, in Polish; nullptr for a system error number.
const char* przyczynaWlasna(int blad);

class PlikTymczasowy {
public:
    PlikTymczasowy() = default;
    PlikTymczasowy(const PlikTymczasowy&) = delete;
    PlikTymczasowy& operator=(const PlikTymczasowy&) = delete;
    ~PlikTymczasowy(); // an unpublished temporary is removed

    // Creates the temporary for `sciezka`. False when the folder does not exist or cannot be
    // written, or the target cannot or may not be replaced (bladSystemu() tells why). Clears
    // what killed writers left of the file, unless told that usunPozostalosci has just done it.
    bool utworz(const std::string& sciezka, bool szukajPozostalosci = true);
    bool zapisz(std::string_view dane);
    // Syncs the temporary to disk (where a full disk shows) and keeps it, locked, for
    // opublikuj; false (and the temporary removed) on failure. Lets several files be written
    // first and put in place only when all of them were.
    bool utrwal();
    // Syncs (unless utrwal did), closes and renames over the target; false (and the temporary
    // removed) on any failure.
    bool opublikuj();
    // Drops the temporary; the target is left as it was.
    void porzuc();

    // The system's error number of the last failure, or one of the writer's own reasons above
    // (0 when none).
    int bladSystemu() const { return blad_; }
    const std::string& sciezkaTymczasowa() const { return tymczasowa_; }
    const std::string& cel() const { return cel_; }

private:
    bool niepowodzenie(int blad);

    int fd_ = -1;
    int blad_ = 0;
    bool utrwalony_ = false;
    std::string tymczasowa_;
    std::string cel_; // the file replaced: the target, or where its link leads
};

// Clears what writers killed before they finished left of each of the files `sciezki`, as
// utworz does for its own file, with one look at each folder for all the files in it: for a
// caller about to write several files of one folder, whose utworz then need not look again.
void usunPozostalosci(const std::vector<std::string>& sciezki);

// Writes a whole file at once; false with the reason in `blad` (an errno value) when given.
bool zapiszCalyPlik(const std::string& sciezka, std::string_view tresc, int* blad = nullptr);

} // namespace pixo
