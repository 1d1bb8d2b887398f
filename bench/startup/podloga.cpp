// The floor: a minimal Qt Widgets program that shows one empty window and quits.
#include "zglos.h"

int main(int argc, char** argv) {
    QApplication a(argc, argv);
    QWidget okno;
    okno.show();
    zglosPoPokazaniu(okno);
    return a.exec();
}
