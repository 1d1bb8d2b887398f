#include <cstdio>

#include "app/ArgumentyProgramu.h"
#include "app/Program.h"

int main(int argc, char** argv) {
    // Answered before the application object exists: no display is needed for them.
    switch (CzytajArgumentyProgramu(argc, argv)) {
    case StartProgramu::Pomoc:
        std::fputs(TekstPomocyProgramu().toUtf8().constData(), stdout);
        return 0;
    case StartProgramu::Wersja:
        std::fputs(TekstWersjiProgramu().toUtf8().constData(), stdout);
        return 0;
    case StartProgramu::Okno:
        break;
    }
    Program program(argc, argv);
    return program.wykonaj();
}
