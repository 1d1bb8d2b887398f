#pragma once
// Names matched without regard to letter case, as the register's own software treats them
// (KONFIG.TXT and konfig.txt are one file; so are KLAWISZ.TXT, a library's .DLL in any case).
// One rule for the register libraries, the program and pixo-kasa, so that each of them picks
// the very file another wrote. Plain C++, no Qt, no POSIX.

#include <optional>
#include <string>
#include <string_view>

namespace pixo {

// Whether two names differ at most in the case of their ASCII letters. Other bytes are
// compared as they are: the register's names are ASCII, and folding other scripts would
// match names that no other part of the system takes for one.
bool rowneBezWielkosci(std::string_view a, std::string_view b);

// The entry of `folder` that `nazwa` (a name without a folder) stands for: `nazwa` itself when
// the folder has an entry of that name (of any kind, a dangling link too), else the first in
// byte order of the entries whose names equal it but for letter case. Nothing when there is
// none, or when the folder cannot be listed.
std::optional<std::string> nazwaBezWielkosci(const std::string& folder, const std::string& nazwa);

} // namespace pixo
