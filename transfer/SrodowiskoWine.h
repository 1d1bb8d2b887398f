#pragma once
// Where and how the maker's DLLs run under Wine: the wine program, the bridge pixo-most.exe,
// the program's private Wine prefix, and Wine's COM ports. Widget-free.
//
// The prefix lies under the user's data folder ($XDG_DATA_HOME/pixo-klawiatura/wine, by
// default ~/.local/share/...), beside the log wine.log where Wine's own output goes. It is
// made on first use (about 8 s), updated when the installed Wine changed, and made anew when
// an earlier making was cut short; a lock lets two programs starting at once make it once.
//
// Every Wine process gets WINEPREFIX, a 32-bit prefix (WINEARCH=win32), no debug output
// (WINEDEBUG=-all), no Mono or Gecko installation and no menu entries (WINEDLLOVERRIDES), and
// no DISPLAY or WAYLAND_DISPLAY: Wine can show no window and no question. The bridge's own
// sessions also skip wineboot, which starts Wine's services: they are not needed, the bridge
// starts in a fraction of a second, and the device manager cannot remap the COM ports.

#include <QString>
#include <optional>
#include <string>
#include <vector>

// A call that lasts longer is taken for one that never returns and ended. The longest
// legitimate one, the whole goods base at 9600 baud (about 70 KB of payload), takes about two
// minutes even with every frame repeated.
constexpr int kGranicaWywolaniaMs = 10 * 60 * 1000;
// The bridge's start (a prefix in place: well under a second) and making the prefix.
constexpr int kGranicaStartuMs = 60 * 1000;
constexpr int kGranicaPrzygotowaniaMs = 5 * 60 * 1000;

struct UstawieniaWine {
    QString wine; // the wine program; empty when Wine is not installed
    QString most; // pixo-most.exe
    QString dane; // the folder of the prefix and the log
    int granicaWywolaniaMs = kGranicaWywolaniaMs;

    QString prefiks() const { return dane + QStringLiteral("/wine"); }
    QString dziennik() const { return dane + QStringLiteral("/wine.log"); }
};

// wine from PATH; the bridge from the installed package's library folder, else from the
// build tree; the user's data folder.
UstawieniaWine DomyslneUstawieniaWine();

// The environment of a Wine process in `prefiks` ("NAME=value"): the caller's own with the
// settings above; `mostu`: a session of the bridge, which skips wineboot.
std::vector<std::string> SrodowiskoProcesuWine(const QString& prefiks, bool mostu);

// Whether the prefix is made and made by the Wine installed now.
bool PrefiksGotowy(const UstawieniaWine& u);

// Makes or updates the prefix when it is not ready. Nothing on success, else why not (Polish,
// one line). A prefix another program is making meanwhile is waited for.
std::optional<QString> PrzygotujPrefiks(const UstawieniaWine& u);

// Wine's ports COM1 to COM99 by the stand-ins' rule: the file comN (any letter case) of
// `folder` when there is one, a dangling link included, else /dev/ttyS<N-1>. The prefix's
// device links are changed only where they lead elsewhere. `ostatnio` remembers the state
// the links were last made for: while neither the folder nor the links' folder has changed
// since (a new or replaced comN changes the folder), nothing is done.
struct StanPortowWine {
    QString folder;
    long long zmianaFolderu = -1; // modification times, in nanoseconds
    long long zmianaUrzadzen = -1;
};
void OdswiezPortyWine(const QString& prefiks, const QString& folder, StanPortowWine& ostatnio);

// "/home/a/b.dll" as Wine's Windows programs name it: "Z:\home\a\b.dll".
QString SciezkaWindows(const QString& sciezka);
