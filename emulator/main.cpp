// pixo-emulator: a TALMO PIXO E register (or a multiplexer with up to four registers) on a
// pseudo-terminal, for practice without a register and for the tests and benchmarks.

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

#include "emulator/ArgumentyEmulatora.h"
#include "emulator/Emulator.h"

namespace {

using pixo::emulator::liczbaArgumentu;
using pixo::emulator::numerKasyArgumentu;

const char* const POMOC = R"(pixo-emulator - symulator kasy TALMO PIXO E na porcie szeregowym

Program udaje kasę (albo multiplekser z kasami na kanałach 1-4) podłączoną
do komputera. Tworzy wirtualny port szeregowy i wystawia go w wybranym
folderze jako plik comN, np. com1. Program do definiowania klawiszy
uruchomiony w tym samym folderze widzi go jak port COM1 z podłączoną kasą.
Gdy port jest gotowy, emulator wypisuje wiersz "gotowe: <folder>/comN".
Zatrzymanie: Ctrl+C (plik comN zostaje wtedy usunięty).

Użycie: pixo-emulator [opcje]

Port:
  --folder KATALOG     folder, w którym powstaje plik comN (domyślnie bieżący)
  --port N             numer portu N, 1-99 (domyślnie 1, czyli com1)
  --baud SZYBKOŚĆ      szybkość linii: 9600, 19200, 28800 lub 57600
                       (domyślnie 9600; ma znaczenie razem z --pace)

Kasa:
  --state KATALOG      folder, w którym kasa pamięta swoje dane między
                       uruchomieniami: model, numer kasy, bazę 3071 towarów,
                       nazwy płatności i walut oraz definicje klawiszy.
                       Bez tej opcji dane giną po zamknięciu emulatora.
  --number NN          numer kasy, dwa znaki (domyślnie 01)
  --model BAJT         bajt identyfikacji modelu (domyślnie 139 = PIXO E 3071 PLU).
                       Inne modele: 104 VARDO 20479, 103 VARDO 10239,
                       101 KESTO 4095, 100 KESTO 2047, 102 NUVI,
                       107 i 132 PIXO 511 PLU, 133 PIXO 2559 PLU;
                       każda inna wartość to nieznane urządzenie.

Multiplekser:
  --mux KANAŁY         zamiast jednej kasy multiplekser z kasami na kanałach,
                       np. --mux 1=01,2=02,3=07:100
                       (kanał=numer kasy[:bajt modelu]; bez numeru kasa na
                       kanale K ma numer 0K). Stan każdej kasy leży w
                       podfolderze kanalK folderu --state.

Usterki do ćwiczeń i testów:
  --no-reply           kasa milczy (program zgłosi timeout odbierania)
  --no-reply-channel K milczy tylko kasa na kanale K multipleksera; kasy na
                       pozostałych kanałach odpowiadają
  --nak                kasa odrzuca każdy rozkaz (odpowiedź NAK)
  --corrupt            kasa wysyła ramki z błędną sumą kontrolną
                       (niepoprawna odpowiedź z kasy)
  --wrong-number       kasa podaje inny numer niż ustawiony
  --nak-once N         kasa odrzuca (NAK) tylko N-tą odebraną ramkę danych
  --garble-once N      N-ta odebrana ramka danych dochodzi nieczytelna, jak po
                       zakłóceniu na linii
  --corrupt-once N     tylko N-ty wysłany blok danych ma błędną sumę kontrolną
  --drop-reply-once N  odpowiedź na N-ty rozkaz ginie po drodze
  --disconnect-after N po wysłaniu N bajtów port zostaje zamknięty, jak przy
                       wyciągnięciu kabla; chwilę później pojawia się na nowo
  --pace               wysyła i odbiera bajty w tempie prawdziwej linii przy
                       szybkości --baud (10 bitów na bajt)
  --turnaround MS      opóźnienie przed każdą odpowiedzią w milisekundach
                       (przejściówka USB dodaje zwykle ok. 16 ms)
  --verbose            wypisuje odbierane ramki i rozkazy

  --help               ta pomoc

Przykład: emulator z kasą nr 01 w folderze programu, w tempie 9600 bodów:
  pixo-emulator --folder ~/klawiatura --port 1 --state ~/kasa-cwiczenia --pace
)";

int przerwanie[2] = {-1, -1};

void naSygnal(int) {
    const char c = 1;
    (void)!::write(przerwanie[1], &c, 1);
}

} // namespace

int main(int argc, char** argv) {
    pixo::emulator::Opcje o;
    auto zle = [](const std::string& tekst) {
        std::fprintf(stderr, "pixo-emulator: %s\nPomoc: pixo-emulator --help\n", tekst.c_str());
        return 2;
    };
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        std::string wartosc;
        bool maWartosc = false;
        if (const auto r = a.find('='); a.rfind("--", 0) == 0 && r != std::string::npos) {
            wartosc = a.substr(r + 1);
            a.resize(r);
            maWartosc = true;
        }
        auto wez = [&](std::string& w) {
            if (maWartosc) {
                w = wartosc;
                return true;
            }
            if (i + 1 >= argc)
                return false;
            w = argv[++i];
            return true;
        };
        std::string w;
        long v;
        if (a == "--help" || a == "-h") {
            std::fputs(POMOC, stdout);
            return 0;
        } else if (a == "--folder") {
            if (!wez(o.folder) || o.folder.empty())
                return zle("--folder wymaga nazwy folderu");
        } else if (a == "--port") {
            if (!wez(w) || !liczbaArgumentu(w, 1, 99, v))
                return zle("--port wymaga numeru 1-99");
            o.port = static_cast<int>(v);
        } else if (a == "--baud") {
            if (!wez(w) || !liczbaArgumentu(w, 300, 1000000, v))
                return zle("--baud wymaga szybkości, np. 9600");
            o.baud = static_cast<int>(v);
        } else if (a == "--state") {
            if (!wez(o.stan) || o.stan.empty())
                return zle("--state wymaga nazwy folderu");
        } else if (a == "--number" || a == "--numer") {
            if (!wez(o.numer) || !numerKasyArgumentu(o.numer))
                return zle("--number wymaga numeru kasy z dwóch znaków, np. 01");
        } else if (a == "--model") {
            if (!wez(w) || !liczbaArgumentu(w, 0, 255, v))
                return zle("--model wymaga bajtu 0-255, np. 139");
            o.model = static_cast<int>(v);
        } else if (a == "--mux") {
            std::string blad;
            if (!wez(w) || !pixo::emulator::kanalyMux(w, o.kanaly, blad))
                return zle("--mux: " +
                           (blad.empty() ? std::string("podaj kanały, np. 1=01,2=02") : blad));
            o.mux = true;
        } else if (a == "--no-reply") {
            o.bezOdpowiedzi = true;
        } else if (a == "--no-reply-channel") {
            if (!wez(w) || !liczbaArgumentu(w, 1, 4, v))
                return zle("--no-reply-channel wymaga numeru kanału 1-4");
            o.kanalBezOdpowiedzi = static_cast<int>(v);
        } else if (a == "--nak") {
            o.nak = true;
        } else if (a == "--corrupt") {
            o.psujRamki = true;
        } else if (a == "--wrong-number") {
            o.zlyNumer = true;
        } else if (a == "--nak-once" || a == "--garble-once" || a == "--corrupt-once" ||
                   a == "--drop-reply-once") {
            if (!wez(w) || !liczbaArgumentu(w, 1, 1L << 30, v))
                return zle(a + " wymaga numeru ramki albo rozkazu, od 1");
            (a == "--nak-once"       ? o.nakRaz
             : a == "--garble-once"  ? o.nieczytelnaRaz
             : a == "--corrupt-once" ? o.psujRaz
                                     : o.bezOdpowiedziRaz) = v;
        } else if (a == "--disconnect-after") {
            if (!wez(w) || !liczbaArgumentu(w, 1, 1L << 30, v))
                return zle("--disconnect-after wymaga liczby bajtów");
            o.rozlaczPo = v;
        } else if (a == "--pace") {
            o.tempo = true;
        } else if (a == "--turnaround") {
            if (!wez(w) || !liczbaArgumentu(w, 0, 10000, v))
                return zle("--turnaround wymaga liczby milisekund 0-10000");
            o.zwlokaMs = static_cast<int>(v);
        } else if (a == "--verbose") {
            o.gadatliwy = true;
        } else {
            return zle("nieznana opcja " + std::string(argv[i]));
        }
    }

    if (o.kanalBezOdpowiedzi != 0 && !o.mux)
        return zle("--no-reply-channel działa tylko razem z --mux");

    if (::pipe2(przerwanie, O_CLOEXEC | O_NONBLOCK) != 0)
        return 1;
    struct sigaction sa {};
    sa.sa_handler = naSygnal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    pixo::emulator::Emulator e(o);
    std::string blad;
    if (!e.przygotuj(blad)) {
        std::fprintf(stderr, "pixo-emulator: %s\n", blad.c_str());
        return 1;
    }
    std::printf("gotowe: %s\n", e.sciezkaDowiazania().c_str());
    std::fflush(stdout);
    const int wynik = e.uruchom(przerwanie[0]);
    return wynik; // the destructor removes the link
}
