// Runs the program's start-up and the two floors in turn, each many times, and prints the
// median time from process start to the window shown, the peak memory, and the program's
// ratios to each floor: a bare window, and a window with one line of text in the program's
// face (fonts cost the same there as in the program).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct Wynik {
    double ms = 0;
    long kb = 0;
};

bool uruchom(const char* program, Wynik& w) {
    int rura[2];
    if (pipe(rura) != 0)
        return false;
    posix_spawn_file_actions_t akcje;
    posix_spawn_file_actions_init(&akcje);
    posix_spawn_file_actions_adddup2(&akcje, rura[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&akcje, rura[0]);
    char* argv[] = {const_cast<char*>(program), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid;
    if (posix_spawn(&pid, program, &akcje, nullptr, argv, environ) != 0)
        return false;
    close(rura[1]);
    std::string linia;
    char c;
    while (read(rura[0], &c, 1) == 1 && c != '\n')
        linia += c;
    const auto koniec = std::chrono::steady_clock::now();
    close(rura[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&akcje);
    if (std::sscanf(linia.c_str(), "pokazane %ld", &w.kb) != 1)
        return false;
    w.ms = std::chrono::duration<double, std::milli>(koniec - start).count();
    return true;
}

double mediana(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const int powtorzenia = argc > 1 ? std::atoi(argv[1]) : 21;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (!getenv("XDG_RUNTIME_DIR")) {
        char wzor[] = "/tmp/pixo-bench-XXXXXX";
        if (mkdtemp(wzor))
            setenv("XDG_RUNTIME_DIR", wzor, 1);
    }
    const char* programy[] = {OKNO, PODLOGA, PODLOGA_NAPIS};
    std::vector<double> czas[3], pamiec[3];
    for (int i = 0; i < powtorzenia + 1; ++i) {
        for (int k = 0; k < 3; ++k) {
            Wynik w;
            if (!uruchom(programy[k], w)) {
                std::fprintf(stderr, "pomiar nieudany: %s\n", programy[k]);
                return 1;
            }
            if (i == 0)
                continue; // the first round warms the file cache
            czas[k].push_back(w.ms);
            pamiec[k].push_back(w.kb);
        }
    }
    double t[3], m[3];
    for (int k = 0; k < 3; ++k) {
        t[k] = mediana(czas[k]);
        m[k] = mediana(pamiec[k]);
    }
    std::printf("start do pokazania okna (mediana z %d uruchomień, offscreen)\n", powtorzenia);
    std::printf("  program:                %8.1f ms  %8.0f kB szczytowo\n", t[0], m[0]);
    std::printf("  podłoga (puste okno):   %8.1f ms  %8.0f kB szczytowo\n", t[1], m[1]);
    std::printf("  podłoga (okno z napisem): %6.1f ms  %8.0f kB szczytowo\n", t[2], m[2]);
    std::printf("  stosunek do pustego okna:   czas %.2fx, pamięć %.2fx\n", t[0] / t[1],
                m[0] / m[1]);
    std::printf("  stosunek do okna z napisem: czas %.2fx, pamięć %.2fx (cel: do 1.25x)\n",
                t[0] / t[2], m[0] / m[2]);
    return 0;
}
