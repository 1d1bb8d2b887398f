// Transfer benchmark: the emulator paces its line like a real serial port and waits 16 ms
// before each reply (as a USB adapter does); each register operation is timed against the wire
// time of its payload, the size of the file the operation reads or writes, at 10 bits a byte.
// Measured through libkavrel.so's exported functions when the library is there, else through
// the register client with the file size computed as the library would write it.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fstream>
#include <signal.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "link/common/KlientKasy.h"
#include "link/common/Protokol.h"
#include "link/common/Ramka.h"

using namespace pixo;

namespace {

using Zegar = std::chrono::steady_clock;

double sekundy(Zegar::time_point od) {
    return std::chrono::duration<double>(Zegar::now() - od).count();
}

std::string katalogProgramu() {
    char b[4096];
    const ssize_t n = readlink("/proc/self/exe", b, sizeof b - 1);
    if (n <= 0)
        return ".";
    std::string s(b, static_cast<std::size_t>(n));
    return s.substr(0, s.rfind('/'));
}

bool istnieje(const std::string& p) {
    struct stat st;
    return ::stat(p.c_str(), &st) == 0;
}

long rozmiar(const std::string& p) {
    struct stat st;
    return ::stat(p.c_str(), &st) == 0 ? static_cast<long>(st.st_size) : -1;
}

void zapisz(const std::string& p, const std::string& tresc) {
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f << tresc;
}

class Emulator {
public:
    Emulator(const std::string& program, const std::vector<std::string>& argumenty) {
        int rura[2];
        if (::pipe(rura) != 0)
            std::exit(1);
        pid_ = fork();
        if (pid_ == 0) {
            ::dup2(rura[1], 1);
            ::close(rura[0]);
            ::close(rura[1]);
            std::vector<char*> a{const_cast<char*>(program.c_str())};
            for (const auto& x : argumenty)
                a.push_back(const_cast<char*>(x.c_str()));
            a.push_back(nullptr);
            execv(program.c_str(), a.data());
            _exit(127);
        }
        ::close(rura[1]);
        std::string wyjscie;
        char c;
        while (wyjscie.find("gotowe: ") == std::string::npos || wyjscie.back() != '\n') {
            if (::read(rura[0], &c, 1) != 1) {
                std::fprintf(stderr, "emulator nie wystartował\n");
                std::exit(1);
            }
            wyjscie += c;
        }
        wyjscie_ = rura[0];
    }
    ~Emulator() {
        ::kill(pid_, SIGTERM);
        int s;
        waitpid(pid_, &s, 0);
        ::close(wyjscie_);
    }

private:
    pid_t pid_ = -1;
    int wyjscie_ = -1;
};

using Funkcja2 = unsigned char (*)(const char*, const char*);
using Funkcja1 = unsigned char (*)(const char*);

struct Kavrel {
    void* uchwyt = nullptr;
    Funkcja2 odczytDefinicji = nullptr;
    Funkcja1 zapisDefinicji = nullptr;
    Funkcja2 towary = nullptr;
};

// A full keyboard: every key defined, every line type used.
std::vector<DefinicjaNaKasie> klawiatura() {
    const std::uint8_t kody[] = {176, 65,  164, 214, 177, 66,  38, 215, 178, 67, 143, 216, 179, 68,
                                 37,  217, 180, 69,  168, 218, 71, 41,  72,  45, 73,  43,  74,  61};
    std::vector<DefinicjaNaKasie> w;
    for (int i = 0; i < 28; ++i) {
        const std::uint8_t k = kody[i];
        switch (i % 6) {
        case 0:
            w.push_back(definicjaNaKasie(k, 1, 1000 + 71 * i, 0, 1, 0));
            break;
        case 1:
            w.push_back(definicjaNaKasie(k, 2, 1 + i));
            break;
        case 2:
            w.push_back(definicjaNaKasie(k, 3, 1 + i % 7, 125000 + i, 0));
            break;
        case 3:
            w.push_back(definicjaNaKasie(k, 3, 1 + i % 8, 5000, 1));
            break;
        case 4:
            w.push_back(definicjaNaKasie(k, 4, 0, 15, 1, 0));
            break;
        default:
            w.push_back(definicjaNaKasie(k, 5, 1, 1250, 1, 1));
            break;
        }
    }
    return w;
}

// The key-definition file the library writes for these definitions.
std::string plikDefinicji(const std::vector<DefinicjaNaKasie>& d) {
    std::string s = "#1\r\n#\r\n#\r\n";
    for (const auto& x : d) {
        s += "$" + std::to_string(x.kod) + "\t" + std::to_string(x.typ);
        const int pola[] = {0, 4, 1, 3, 4, 4};
        for (int i = 0; i < pola[x.typ]; ++i)
            s += "\t" + std::to_string(x.pola[i]);
        if (x.typ == 2)
            s += "\t";
        s += "\r\n";
    }
    return s;
}

std::string plikTowarow(const std::vector<TowarNaKasie>& t) {
    std::string s = "#1\r\n#\r\n#\r\n";
    for (const auto& x : t)
        s += "$" + std::to_string(x.plu) + "\t" + x.nazwa + "\r\n";
    return s;
}

struct Wynik {
    std::string nazwa;
    int baud;
    long ladunek;
    double czas;
    double cel;
};

void konfiguracja(int baud) {
    zapisz("KONFIG.TXT", "$1\tcom1:" + std::to_string(baud) + ":mux0:1\t5\r\n");
    zapisz("123.@#$", "#1\r\n#\r\n#\r\n");
}

std::unique_ptr<KlientKasy> klient(int baud) {
    ParametryLacza p;
    p.baud = baud;
    std::unique_ptr<KlientKasy> k;
    if (const int w = polaczZKasa(p, k)) {
        std::fprintf(stderr, "połączenie: kod %d\n", w);
        std::exit(1);
    }
    return k;
}

void sprawdz(int kod, const char* co) {
    if (kod != 0) {
        std::fprintf(stderr, "%s: kod %d\n", co, kod);
        std::exit(1);
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::string bin = katalogProgramu();
    std::string emulator = bin + "/../../emulator/pixo-emulator";
    std::string kavrel = bin + "/../../link/kavrel/libkavrel.so";
    int powtorzenia = 3;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--emulator" && i + 1 < argc)
            emulator = argv[++i];
        else if (a == "--kavrel" && i + 1 < argc)
            kavrel = argv[++i];
        else if (a == "--bez-kavrel")
            kavrel.clear();
        else if (a == "--powtorzenia" && i + 1 < argc)
            powtorzenia = std::max(1, std::atoi(argv[++i]));
        else {
            std::fprintf(stderr, "użycie: bench_transfer [--emulator ŚCIEŻKA] [--kavrel ŚCIEŻKA | "
                                 "--bez-kavrel] [--powtorzenia N]\n");
            return 2;
        }
    }
    if (emulator[0] != '/') {
        char cwd[4096];
        emulator = std::string(getcwd(cwd, sizeof cwd)) + "/" + emulator;
    }
    Kavrel kv;
    if (!kavrel.empty() && istnieje(kavrel)) {
        char sciezka[4096];
        if (realpath(kavrel.c_str(), sciezka))
            kv.uchwyt = dlopen(sciezka, RTLD_NOW | RTLD_LOCAL);
        if (kv.uchwyt) {
            kv.odczytDefinicji = reinterpret_cast<Funkcja2>(dlsym(kv.uchwyt, "__ODefKlaw"));
            kv.zapisDefinicji = reinterpret_cast<Funkcja1>(dlsym(kv.uchwyt, "__ZDefKlaw"));
            kv.towary = reinterpret_cast<Funkcja2>(dlsym(kv.uchwyt, "__TowarMax"));
        }
        if (!kv.odczytDefinicji || !kv.zapisDefinicji || !kv.towary) {
            std::fprintf(stderr, "nie można użyć %s: %s\n", kavrel.c_str(), dlerror());
            return 1;
        }
    }
    const bool przezKavrel = kv.uchwyt != nullptr;

    char wzor[] = "/tmp/pixo-bench-XXXXXX";
    const std::string tmp = mkdtemp(wzor);
    if (::chdir(tmp.c_str()) != 0)
        return 1;
    const std::string stan = tmp + "/stan";
    auto argumenty = [&](int baud) {
        return std::vector<std::string>{"--folder",
                                        tmp,
                                        "--port",
                                        "1",
                                        "--state",
                                        stan,
                                        "--pace",
                                        "--baud",
                                        std::to_string(baud),
                                        "--turnaround",
                                        "16"};
    };

    // The register's keyboard, set up once without pacing.
    {
        Emulator e(emulator, {"--folder", tmp, "--port", "1", "--state", stan});
        auto k = klient(57600);
        sprawdz(k->zapiszDefinicje(klawiatura()), "przygotowanie definicji");
    }

    std::printf("Pomiar przez %s; emulator w tempie linii, zwłoka 16 ms przed każdą "
                "odpowiedzią; %d powtórzenia, mediana\n\n",
                przezKavrel ? "libkavrel.so (__ODefKlaw, __ZDefKlaw, __TowarMax)"
                            : "KlientKasy (libkavrel.so nie znaleziona)",
                powtorzenia);
    std::vector<Wynik> wyniki;
    auto mediana = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };

    double wykorzystanie = 0;
    {
        Emulator e(emulator, argumenty(9600));
        konfiguracja(9600);
        std::vector<double> czasy;
        long ladunek = 0;
        for (int i = 0; i < powtorzenia; ++i) {
            ::unlink("klawisz.txt");
            const auto t0 = Zegar::now();
            if (przezKavrel) {
                sprawdz(kv.odczytDefinicji("123.@#$", "klawisz.txt"), "__ODefKlaw");
                czasy.push_back(sekundy(t0));
                ladunek = rozmiar("klawisz.txt");
            } else {
                auto k = klient(9600);
                std::string n;
                std::vector<DefinicjaNaKasie> d;
                sprawdz(k->numerKasy(n), "numer kasy");
                sprawdz(k->czytajDefinicje(d), "odczyt definicji");
                czasy.push_back(sekundy(t0));
                zapisz("klawisz.txt", plikDefinicji(d));
                ladunek = rozmiar("klawisz.txt");
            }
        }
        wyniki.push_back({"odczyt definicji klawiszy", 9600, ladunek, mediana(czasy), 1.2});

        czasy.clear();
        for (int i = 0; i < powtorzenia; ++i) {
            const auto t0 = Zegar::now();
            if (przezKavrel) {
                sprawdz(kv.zapisDefinicji("klawisz.txt"), "__ZDefKlaw");
                czasy.push_back(sekundy(t0));
            } else {
                auto k = klient(9600);
                std::string n;
                sprawdz(k->numerKasy(n), "numer kasy");
                sprawdz(k->zapiszDefinicje(klawiatura()), "zapis definicji");
                czasy.push_back(sekundy(t0));
            }
        }
        wyniki.push_back(
            {"zapis definicji klawiszy", 9600, rozmiar("klawisz.txt"), mediana(czasy), 1.2});
    }
    {
        Emulator e(emulator, argumenty(57600));
        konfiguracja(57600);
        std::vector<double> czasy;
        long ladunek = 0;
        for (int i = 0; i < powtorzenia; ++i) {
            ::unlink("towary.txt");
            const auto t0 = Zegar::now();
            if (przezKavrel) {
                sprawdz(kv.towary("123.@#$", "towary.txt"), "__TowarMax");
                czasy.push_back(sekundy(t0));
            } else {
                auto k = klient(57600);
                std::string n;
                std::vector<TowarNaKasie> t;
                sprawdz(k->numerKasy(n), "numer kasy");
                sprawdz(k->czytajTowary(t), "odczyt towarów");
                czasy.push_back(sekundy(t0));
                zapisz("towary.txt", plikTowarow(t));
            }
            ladunek = rozmiar("towary.txt");
        }
        wyniki.push_back({"eksport bazy towarów", 57600, ladunek, mediana(czasy), 1.075});

        // How busy the line itself is during the goods transfer: the bytes that travel (the
        // reply in frames) against the time the request took.
        auto k = klient(57600);
        std::vector<TowarNaKasie> t;
        const auto t0 = Zegar::now();
        sprawdz(k->czytajTowary(t), "odczyt towarów");
        const double czas = sekundy(t0);
        std::vector<std::string> nazwy;
        for (auto& x : t)
            nazwy.push_back(x.nazwa);
        std::vector<std::uint8_t> dane;
        protokol::kodujNazwy(nazwy, dane);
        const std::size_t wiadomosc = protokol::NAGLOWEK_ODPOWIEDZI + dane.size();
        const std::size_t ramki = (wiadomosc + ramka::MAKS_DANYCH - 1) / ramka::MAKS_DANYCH;
        const std::size_t naLinii = wiadomosc + ramki * ramka::NARZUT;
        wykorzystanie = naLinii * 10.0 / 57600 / czas;
        std::printf("Linia przy eksporcie towarów (KlientKasy): %zu bajtów w %zu ramkach, "
                    "%.3f s, czas linii %.3f s, wykorzystanie linii %.1f%%\n\n",
                    naLinii, ramki, czas, naLinii * 10.0 / 57600, 100 * wykorzystanie);
    }

    std::printf("%-28s %6s %9s %10s %10s %8s %6s\n", "operacja", "bod", "ładunek", "linia [s]",
                "czas [s]", "stosunek", "cel");
    bool wszystko = true;
    for (const auto& w : wyniki) {
        const double linia = w.ladunek * 10.0 / w.baud;
        const double stosunek = w.czas / linia;
        const bool ok = stosunek <= w.cel;
        wszystko &= ok;
        std::printf("%-28s %6d %8ld B %10.3f %10.3f %8.3f %5.3fx %s\n", w.nazwa.c_str(), w.baud,
                    w.ladunek, linia, w.czas, stosunek, w.cel, ok ? "OK" : "ZA WOLNO");
    }
    const bool linia = wykorzystanie >= 0.93;
    std::printf("%-28s %6d %8s %10s %10s %7.1f%% >=93%% %s\n", "wykorzystanie linii", 57600, "", "",
                "", 100 * wykorzystanie, linia ? "OK" : "ZA MAŁO");
    wszystko &= linia;

    if (::chdir("/") == 0)
        (void)!std::system(("rm -rf '" + tmp + "'").c_str());
    return wszystko ? 0 : 1;
}
