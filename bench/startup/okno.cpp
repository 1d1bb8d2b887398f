// The program's start-up up to the main window shown, with the goods list as full as it is
// after the start-up import (3071 named goods).
#include <QComboBox>
#include <QStyleFactory>

#include "app/TAplikacja.h"
#include "app/TForm3.h"
#include "core/Dialogi.h"
#include "keys/StanProgramu.h"
#include "ui_TForm3.h"
#include "zglos.h"

int main(int argc, char** argv) {
    StanProgramu stan;
    stan.ImportStartowy = true;
    TAplikacja a(argc, argv);
    TAplikacja::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QtDialogi dialogi;
    TForm3 okno(stan, dialogi);
    a.ustawObslugeBledow(&dialogi, &okno);

    QStringList towary;
    towary.reserve(StanProgramu::kLiczbaTowarow);
    for (int plu = 1; plu <= StanProgramu::kLiczbaTowarow; ++plu)
        towary << QStringLiteral("%1 TOWAR ŻÓŁTY %2").arg(plu, 3, 10, QLatin1Char('0')).arg(plu);
    okno.ui->cbTowary->clear();
    okno.ui->cbTowary->addItems(towary);
    okno.ui->cbTowary->setCurrentIndex(0);

    okno.show();
    zglosPoPokazaniu(okno);
    return a.exec();
}
