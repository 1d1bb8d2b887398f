#include "app/ArgumentyProgramu.h"

#include <cstring>

StartProgramu CzytajArgumentyProgramu(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            return StartProgramu::Pomoc;
        if (std::strcmp(argv[i], "--version") == 0)
            return StartProgramu::Wersja;
    }
    return StartProgramu::Okno;
}

QString TekstWersjiProgramu() {
    return QStringLiteral("pixo-klawiatura " PIXO_WERSJA "\n");
}

QString TekstPomocyProgramu() {
    return QStringLiteral(
        "pixo-klawiatura - definiowanie klawiszy w kasie TALMO PIXO E\n"
        "\n"
        "Program okienkowy serwisanta i właściciela sklepu: definicje dziewięciu\n"
        "klawiszy kasy na czterech warstwach Alt, ich odczyt, zapis i kasowanie\n"
        "w kasie przez port szeregowy, pliki definicji, napisy na klawiszach,\n"
        "eksport i wydruk wkładki.\n"
        "\n"
        "Użycie: pixo-klawiatura [--help | --version]\n"
        "\n"
        "Bez opcji otwiera okno programu. Program pracuje w bieżącym folderze:\n"
        "tam leżą KONFIG.TXT, klawisz.txt, listy towarów, płatności i walut oraz\n"
        "pliki comN portów (com1 to port 1, zwykle dowiązanie do urządzenia, np.\n"
        "/dev/ttyUSB0; bez takiego pliku port N to /dev/ttyS<N-1>). Urządzenie\n"
        "portu wybiera się w oknie \"Połączenie\" przyciskiem obok numeru portu.\n"
        "Uruchomiony z menu pulpitu program pracuje w folderze ~/Pixo-klawiatura.\n"
        "\n"
        "Opcje:\n"
        "  -h, --help   ta pomoc\n"
        "  --version    numer wersji programu\n"
        "\n"
        "Zobacz też: man pixo-klawiatura, pixo-kasa --help, pixo-emulator --help\n");
}
