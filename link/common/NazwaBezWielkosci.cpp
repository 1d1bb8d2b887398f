#include "link/common/NazwaBezWielkosci.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace pixo {

namespace {
char wielka(char z) {
    return (z >= 'a' && z <= 'z') ? static_cast<char>(z - 'a' + 'A') : z;
}
} // namespace

bool rowneBezWielkosci(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (wielka(a[i]) != wielka(b[i]))
            return false;
    return true;
}

std::optional<std::string> nazwaBezWielkosci(const std::string& folder, const std::string& nazwa) {
    if (nazwa.empty())
        return std::nullopt;
    const fs::path katalog(folder.empty() ? "." : folder);
    std::error_code ec;
    if (fs::exists(fs::symlink_status(katalog / nazwa, ec)))
        return nazwa;
    std::optional<std::string> pierwsza;
    for (fs::directory_iterator it(katalog, ec), koniec; !ec && it != koniec; it.increment(ec)) {
        std::string n = it->path().filename().string();
        if (rowneBezWielkosci(n, nazwa) && (!pierwsza || n < *pierwsza))
            pierwsza = std::move(n);
    }
    return pierwsza;
}

} // namespace pixo
