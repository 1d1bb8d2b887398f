#pragma once
// Files this library writes appear whole or not at all, through link/common/PlikTymczasowy.h
// (its policies: links followed to a regular file, another user's link in a shared folder and
// any target that is no regular file refused, permissions kept, synced before the rename).
// Until then any older file of that name stays as it was, and a failure removes the temporary.

#include <cstdint>
#include <string>
#include <string_view>

#include "link/common/PlikTymczasowy.h"

namespace pixo::kavrel {

// The project's one whole-or-nothing writer; names given to this library are first matched
// without regard to letter case (plikBezWielkosci).
using PlikTymczasowy = pixo::PlikTymczasowy;

// Writes a whole file at once: 0, or 8 when it cannot be created, 17 when writing fails.
std::uint8_t zapiszCalyPlik(const std::string& nazwa, std::string_view tresc);

// The line-file writer of the program's communication dialog. Handles are positive integers
// from one table of 32 files shared by all threads; a closed handle stays dead even when a
// later open takes its place in the table. Mode 1 (the only one) creates the file anew:
// lines go to a temporary that the close publishes, so the program never sees a half-written
// "in" or KONFIG.TXT. A refused or failed line marks the file as failed; its close then
// discards the temporary, keeps any older file and returns 0.
unsigned char otworzPlikLiniowy(std::int32_t* uchwyt, const char* nazwa, unsigned char tryb);
unsigned char zapiszLiniePliku(std::int32_t uchwyt, const char* linia);
unsigned char zamknijPlikLiniowy(std::int32_t* uchwyt);
// The system's error number (errno) of the last line-file call, when it failed for one: the
// file could not be created, written or put in place. 0 after a call that succeeded or that
// was refused for its arguments (an unknown handle, a line holding CR or LF); a close that
// fails for an earlier line gives that line's number.
int bladSystemuPlikuLiniowego();

// How many line files are open at once at most.
inline constexpr int MaksPlikowLiniowych = 32;

} // namespace pixo::kavrel
