// Start-up in a fixed order: the busy cursor and the pending import are prepared first, then
// the application, the main window and the hidden communication dialog; the start-up import
// runs once before the first message is dispatched.

#include <QProxyStyle>
#include <QStyleFactory>

#include "app/TAplikacja.h"
#include "app/TForm3.h"
#include "comm/TOknoKomunik.h"
#include "core/Dialogi.h"
#include "core/Klepsydra.h"
#include "keys/StanProgramu.h"
#include "transfer/LaczeKasy.h"

namespace {

// Hints appear 10 ms after the mouse comes to rest.
class StylPodpowiedzi : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* opcja, const QWidget* widget,
                  QStyleHintReturn* zwrot) const override {
        if (hint == SH_ToolTip_WakeUpDelay)
            return 10;
        if (hint == SH_ToolTip_FallAsleepDelay)
            return 1000;
        return QProxyStyle::styleHint(hint, opcja, widget, zwrot);
    }
};

} // namespace

int main(int argc, char** argv) {
    // The animated hourglass when "hourglas.ani" loads, else the standard busy cursor.
    Klepsydra klepsydra;
    klepsydra.zaladuj(QStringLiteral("hourglas.ani"));
    StanProgramu stan;
    stan.ImportStartowy = true;

    TAplikacja aplikacja(argc, argv);
    TAplikacja::setApplicationName(QStringLiteral("Pixo-klawiatura"));
    TAplikacja::setStyle(new StylPodpowiedzi(QStyleFactory::create(QStringLiteral("Fusion"))));

    QtDialogi dialogi;
    TForm3 okno(stan, dialogi);
    aplikacja.ustawObslugeBledow(&dialogi, &okno);
    okno.show();

    // The communication dialog, created hidden; the register libraries are reached only
    // through `lacze`, whose calls wait on a worker thread with the busy cursor shown.
    BibliotekiKasy lacze(klepsydra);
    TOknoKomunik oknoKomunik(stan, dialogi, lacze, &okno);
    okno.ustawOknoKomunik(&oknoKomunik);

    if (stan.ImportStartowy) {
        stan.ImportStartowy = false;
        // The start-up import of goods, payments and currencies runs here.
    }

    return aplikacja.exec();
}
