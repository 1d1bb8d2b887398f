#include "emulator/ArgumentyEmulatora.h"

#include <algorithm>
#include <cstdlib>

namespace pixo::emulator {

bool liczbaArgumentu(const std::string& s, long od, long doo, long& v) {
    if (s.empty())
        return false;
    char* k = nullptr;
    v = std::strtol(s.c_str(), &k, 10);
    return *k == '\0' && v >= od && v <= doo;
}

bool tekstKasy(const std::string& s) {
    return std::none_of(s.begin(), s.end(), [](char z) {
        return static_cast<unsigned char>(z) < 0x20 || static_cast<unsigned char>(z) == 0x7f;
    });
}

bool numerKasyArgumentu(const std::string& s) {
    return s.size() == 2 && tekstKasy(s);
}

bool kanalyMux(const std::string& spec, std::vector<KanalMux>& kanaly, std::string& blad) {
    std::size_t p = 0;
    while (p <= spec.size()) {
        const std::size_t q = std::min(spec.find(',', p), spec.size());
        const std::string czesc = spec.substr(p, q - p);
        KanalMux k;
        const std::size_t rowna = czesc.find('=');
        long v;
        if (!liczbaArgumentu(czesc.substr(0, rowna), 1, 4, v)) {
            blad = "kanał multipleksera musi być liczbą 1-4: " + czesc;
            return false;
        }
        k.kanal = static_cast<int>(v);
        if (rowna != std::string::npos) {
            std::string reszta = czesc.substr(rowna + 1);
            const std::size_t dwukropek = reszta.find(':');
            if (dwukropek != std::string::npos) {
                if (!liczbaArgumentu(reszta.substr(dwukropek + 1), 0, 255, v)) {
                    blad = "bajt modelu musi być liczbą 0-255: " + czesc;
                    return false;
                }
                k.model = static_cast<int>(v);
                reszta.resize(dwukropek);
            }
            if (!numerKasyArgumentu(reszta)) {
                blad = "numer kasy musi mieć dwa znaki: " + czesc;
                return false;
            }
            k.numer = reszta;
        }
        for (const auto& j : kanaly)
            if (j.kanal == k.kanal) {
                blad = "kanał " + std::to_string(k.kanal) + " podany dwa razy";
                return false;
            }
        kanaly.push_back(k);
        p = q + 1;
    }
    return !kanaly.empty();
}

} // namespace pixo::emulator
