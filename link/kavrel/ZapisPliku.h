#pragma once
// Files this library writes appear whole or not at all: the text goes to a temporary file in
// the target's folder, which is renamed over the target only when every byte has been written
// and flushed. Until then any older file of that name stays as it was, and a failure removes
// the temporary.

#include <cstdint>
#include <string>
#include <string_view>

namespace pixo::kavrel {

class PlikTymczasowy {
public:
    PlikTymczasowy() = default;
    PlikTymczasowy(const PlikTymczasowy&) = delete;
    PlikTymczasowy& operator=(const PlikTymczasowy&) = delete;
    ~PlikTymczasowy(); // an unpublished temporary is removed

    // Creates the temporary beside the file the name stands for (letter case ignored, so an
    // existing konfig.txt is what "KONFIG.TXT" replaces). False when the folder does not
    // exist or cannot be written.
    bool utworz(const std::string& nazwa);
    bool zapisz(std::string_view dane);
    // Flushes to disk and renames over the target; false (and the temporary removed) on
    // any failure.
    bool opublikuj();
    // Drops the temporary; the target is left as it was.
    void porzuc();

    const std::string& sciezkaTymczasowa() const { return tymczasowa_; }
    const std::string& cel() const { return cel_; }

private:
    int fd_ = -1;
    std::string tymczasowa_;
    std::string cel_;
};

// Writes a whole file at once: 0, or 8 when it cannot be created, 17 when writing fails.
std::uint8_t zapiszCalyPlik(const std::string& nazwa, std::string_view tresc);

// The line-file writer of the program's communication dialog. Handles are small positive
// integers from one table shared by all threads. Mode 1 (the only one) creates the file anew:
// lines go to a temporary that the close publishes, so the program never sees a half-written
// "in" or KONFIG.TXT. A refused or failed line marks the file as failed; its close then
// discards the temporary, keeps any older file and returns 0.
unsigned char otworzPlikLiniowy(std::int32_t* uchwyt, const char* nazwa, unsigned char tryb);
unsigned char zapiszLiniePliku(std::int32_t uchwyt, const char* linia);
unsigned char zamknijPlikLiniowy(std::int32_t* uchwyt);

// How many line files are open at once at most.
inline constexpr int MaksPlikowLiniowych = 32;

} // namespace pixo::kavrel
