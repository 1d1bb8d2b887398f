// A stand-in for the program in the single-instance tests: the guard with the key given as
// the first argument and a bare window. Prints "okno" when it is the first copy and shows its
// window, "podniesione" when a later copy raised it ("podniesione modalne" when the raise left
// the open modal box active), "druga" when it is a later copy (then ends at once). With the
// second argument "modalne" the first copy opens a modal box over its window.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstring>

#include "app/TCiaOnlyOne.h"

namespace {

void wypisz(const char* tekst) {
    std::printf("%s\n", tekst);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    QApplication aplikacja(argc, argv);
    TCiaOnlyOne straz;
    straz.Unique = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    QWidget okno;
    if (!straz.Sprawdz(&okno)) {
        straz.PokazPierwsza();
        wypisz("druga");
        return 0;
    }
    QObject::connect(&straz, &TCiaOnlyOne::podniesiono, [] {
        // Activation reaches the application as an event of its own, after the raise.
        QTimer::singleShot(200, [] {
            const QWidget* modalne = QApplication::activeModalWidget();
            wypisz(modalne && QApplication::activeWindow() == modalne ? "podniesione modalne"
                                                                      : "podniesione");
        });
    });
    okno.show();
    QMessageBox pytanie(QMessageBox::Question, QStringLiteral("Pytanie"), QStringLiteral("?"),
                        QMessageBox::Yes, &okno);
    if (argc > 2 && std::strcmp(argv[2], "modalne") == 0) {
        QTimer::singleShot(0, [&] {
            wypisz("okno");
            pytanie.exec();
        });
    } else {
        wypisz("okno");
    }
    return aplikacja.exec();
}
