#include "app/Program.h"

#include <QIcon>
#include <QImage>
#include <QLibraryInfo>
#include <QPixmap>
#include <QStyleFactory>
#include <QTranslator>
#include <fontconfig/fontconfig.h>
#include <pthread.h>
#include <sched.h>
#include <thread>

#include "app/Podpowiedzi.h"
#include "app/TAplikacja.h"
#include "app/TCiaOnlyOne.h"
#include "app/TForm3.h"
#include "comm/okno/TOknoKomunik.h"
#include "core/BladProgramu.h"
#include "core/okno/Dialogi.h"
#include "core/okno/Klepsydra.h"
#include "keys/StanProgramu.h"
#include "overlay/ObrazyWkladki.h"
#include "transfer/LaczeKasy.h"
#include "transfer/WyborBibliotek.h"
#include "transfer/okno/OczekiwanieZKlepsydra.h"

namespace {

// Reading the system's font configuration is the longest single step before the first
// caption can be laid out; it starts on the other core as soon as the program knows it will
// show its window, so that it is done by the time the window lays out its first caption. (Not
// at load time: "--help" would end while the thread is still reading.)
class KonfiguracjaCzcionek {
public:
    KonfiguracjaCzcionek() {
        cpu_set_t wszystkie;
        CPU_ZERO(&wszystkie);
        const bool znane = sched_getaffinity(0, sizeof wszystkie, &wszystkie) == 0;
        m_watek = std::thread([wszystkie, znane] {
            // Free to move again once it runs. (Should it get here before it is sent away,
            // it stays on the other cores until it ends, which is as good.)
            if (znane)
                sched_setaffinity(0, sizeof wszystkie, &wszystkie);
            FcInit();
        });
        // Sent to another core at once: the scheduler may otherwise queue a new thread behind
        // its busy creator for milliseconds before it moves it to an idle core, and the
        // reading would then end well after the window wanted its first caption.
        const int tutaj = sched_getcpu();
        cpu_set_t inne = wszystkie;
        if (znane && tutaj >= 0) {
            CPU_CLR(tutaj, &inne);
            if (CPU_COUNT(&inne) > 0)
                pthread_setaffinity_np(m_watek.native_handle(), sizeof inne, &inne);
        }
    }
    ~KonfiguracjaCzcionek() { czekaj(); }
    void czekaj() {
        if (m_watek.joinable())
            m_watek.join();
    }

private:
    std::thread m_watek;
};

// The cursor is loaded before anything else, as the first step of start-up.
Klepsydra* zaladowanaKlepsydra(Klepsydra* k) {
    k->zaladuj(QStringLiteral("hourglas.ani"));
    return k;
}

} // namespace

struct Program::Dane {
    KonfiguracjaCzcionek konfiguracjaCzcionek;
    // The animated hourglass when "hourglas.ani" loads, else the standard busy cursor.
    Klepsydra klepsydra;
    Klepsydra* zaladowana = zaladowanaKlepsydra(&klepsydra);
    StanProgramu stan;
    TAplikacja aplikacja;
    // The toolkit's own texts (file dialog, print dialog) in Polish, when installed.
    QTranslator tlumaczenieQt;
    QtDialogi dialogi;
    PodpowiedziNaSekunde podpowiedzi;
    TCiaOnlyOne straz;
    bool pierwszaKopia = true;
    std::unique_ptr<TForm3> okno;
    std::unique_ptr<LaczeKasy> lacze;
    std::unique_ptr<TOknoKomunik> oknoKomunik;

    Dane(int& argc, char** argv) : aplikacja(argc, argv) {}
};

bool ImportZRaportem(TAplikacja& aplikacja, TForm3& okno) {
    // Outside any event handler: an error that escapes the import is reported here, and the
    // program goes on to its window unless the user chooses to end it.
    try {
        okno.importStartowy();
    } catch (const std::exception& e) {
        return aplikacja.zglosBlad(komunikatWyjatku(e));
    } catch (...) {
        return aplikacja.zglosBlad(QStringLiteral("Nieznany błąd"));
    }
    return false;
}

Program::Program(int& argc, char** argv) : d(std::make_unique<Dane>(argc, argv)) {
    d->stan.ImportStartowy = true;
    // The window's class (X11) and application id (Wayland) are what the menu entry names, so
    // that the desktop shows the running window under the entry's name and icon.
    TAplikacja::setApplicationName(QStringLiteral(PIXO_KLASA_OKNA));
    TAplikacja::setDesktopFileName(QStringLiteral(PIXO_ID));
    TAplikacja::setWindowIcon(QIcon(QPixmap::fromImage(ikonaOkna())));
    if (d->tlumaczenieQt.load(QStringLiteral("qtbase_pl"),
                              QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        TAplikacja::installTranslator(&d->tlumaczenieQt);
    TAplikacja::setStyle(new StylPodpowiedzi(QStyleFactory::create(QStringLiteral("Fusion"))));
    d->aplikacja.installEventFilter(&d->podpowiedzi);

    // Work that needs no font is done while the font configuration is still being read: the
    // goods list's blank names, and the choice of the register libraries (a look at the working
    // folder). The libraries are reached only through the link, whose calls wait on a worker
    // thread with the busy cursor shown: the maker's DLLs through Wine when they lie in the
    // working folder, else the program's own.
    TForm3::goleTowary();
    d->lacze = WybierzBiblioteki(oczekiwanieZKlepsydra(d->klepsydra));
    d->konfiguracjaCzcionek.czekaj();
    // Errors while the window is being set up are reported like any other.
    d->aplikacja.ustawObslugeBledow(&d->dialogi, nullptr);
    d->okno = std::make_unique<TForm3>(d->stan, d->dialogi);
    // One copy at a time: a later one brings the first one's window to the front, shows none
    // of its own, skips the import and ends.
    d->pierwszaKopia = d->straz.Sprawdz(d->okno.get());
    if (!d->pierwszaKopia)
        d->straz.PokazPierwsza();
    d->aplikacja.ustawObslugeBledow(&d->dialogi, d->okno.get());
    if (d->pierwszaKopia) {
        wysrodkuj(*d->okno);
        d->okno->show();
    }

    // The communication dialog is built when first opened (a few milliseconds then, none at
    // start) and kept, so it shows what was last set. Through Wine, the bridge starts while the
    // start-up import's question is shown.
    if (auto* wine = dynamic_cast<BibliotekiWine*>(d->lacze.get()); wine && d->pierwszaKopia)
        wine->uruchomWTle();
    d->okno->ustawKomunikacje(
        [d = d.get()]() -> QDialog* {
            if (!d->oknoKomunik)
                d->oknoKomunik =
                    std::make_unique<TOknoKomunik>(d->stan, d->dialogi, *d->lacze, d->okno.get());
            return d->oknoKomunik.get();
        },
        *d->lacze);
}

Program::~Program() {
    // The dialog belongs to the window's lifetime; both go before the application.
    d->oknoKomunik.reset();
    d->okno.reset();
}

TForm3& Program::okno() {
    return *d->okno;
}

int Program::wykonaj() {
    if (!d->pierwszaKopia)
        return 0;
    if (d->aplikacja.zakonczenieWybrane())
        return 1;
    if (d->stan.ImportStartowy) {
        d->stan.ImportStartowy = false;
        if (ImportZRaportem(d->aplikacja, *d->okno))
            return 1;
    }
    return d->aplikacja.exec();
}
