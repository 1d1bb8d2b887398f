#include "transfer/okno/OczekiwanieZKlepsydra.h"

#include <QApplication>
#include <QWidget>

#include "core/okno/CzekanieNaWatku.h"

BibliotekiKasy::Oczekiwanie oczekiwanieZKlepsydra(Klepsydra& klepsydra) {
    return [&klepsydra](const std::function<std::uint8_t()>& wywolanie, const PostepPracy& postep) {
        QWidget* okno = QApplication::activeModalWidget();
        if (!okno)
            okno = QApplication::activeWindow();
        return wykonajWTle(klepsydra, okno, wywolanie, &postep);
    };
}
