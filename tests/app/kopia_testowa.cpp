// A stand-in for the program in the single-instance tests: the guard with the key given as
// the first argument and a bare window. Prints "okno" when it is the first copy and shows its
// window, "podniesione" when a later copy raised it, "druga" when it is a later copy (then
// ends at once).
#include <QApplication>
#include <QWidget>
#include <cstdio>

#include "app/TCiaOnlyOne.h"

int main(int argc, char** argv) {
    QApplication aplikacja(argc, argv);
    TCiaOnlyOne straz;
    straz.Unique = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    QWidget okno;
    if (!straz.Sprawdz(&okno)) {
        straz.PokazPierwsza();
        std::printf("druga\n");
        return 0;
    }
    QObject::connect(&straz, &TCiaOnlyOne::podniesiono, [] {
        std::printf("podniesione\n");
        std::fflush(stdout);
    });
    okno.show();
    std::printf("okno\n");
    std::fflush(stdout);
    return aplikacja.exec();
}
