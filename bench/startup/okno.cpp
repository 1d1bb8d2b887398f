// The program's start-up up to the main window shown, with the goods list as full as it is
// after the start-up import (3071 named goods, filled here directly).
#include "app/Program.h"
#include "app/TForm3.h"
#include "keys/StanProgramu.h"
#include "zglos.h"

int main(int argc, char** argv) {
    Program program(argc, argv);
    TForm3& okno = program.okno();

    QStringList towary = TForm3::goleTowary();
    for (int i = 0; i < towary.size(); ++i)
        towary[i] += QStringLiteral("TOWAR ŻÓŁTY ") + QString::number(i + 1);
    okno.ustawListeTowarow(towary);

    zglosPoPokazaniu(okno);
    // Up to the window on screen only: the start-up import asks its question after that (it
    // would wait for an answer here), so the message loop runs without it.
    return QApplication::exec();
}
