// The second floor: a minimal Qt Widgets program whose window shows one line of text in the
// program's face, so that reading the font configuration and loading a face are in the floor
// too. It shows the window and quits.
#include <QLabel>

#include "core/okno/CzcionkiFormularzy.h"
#include "zglos.h"

int main(int argc, char** argv) {
    QApplication a(argc, argv);
    QWidget okno;
    okno.setFont(czcionkaFormularza(12));
    QLabel napis(QStringLiteral("Definiowanie klawiszy w kasie TALMO PIXO E"), &okno);
    napis.move(10, 10);
    okno.show();
    zglosPoPokazaniu(okno);
    return a.exec();
}
