// The whole start-up import through the program's own code path (the main window, the register
// libraries on their worker thread, the progress window), against the emulator paced like a
// real line at 57600 baud with a 16 ms turnaround before each reply: the three exports and the
// key-definition read. Prints the time against the wire time of the four replies' payloads (the
// reply messages as the register encodes them, rebuilt from the files the import wrote), and
// the longest time the GUI thread went without processing events. When the Windows build and
// Wine are there, the same import then runs through the maker-compatible DLLs under Wine (a
// fresh bridge each time, its start included), printed beside it.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "app/TForm3.h"
#include "core/okno/Klepsydra.h"
#include "core/okno/SkryptDialogi.h"
#include "keys/StanProgramu.h"
#include "link/common/Protokol.h"
#include "transfer/LaczeKasy.h"
#include "transfer/ListyKasy.h"
#include "transfer/PlikDefinicji.h"
#include "transfer/TekstPliku.h"
#include "transfer/WyborBibliotek.h"
#include "transfer/okno/OczekiwanieZKlepsydra.h"

namespace {

constexpr int kBaud = 57600;
constexpr double kCelCzasu = 1.05;
constexpr qint64 kCelPrzerwyMs = 50;

bool uruchomEmulator(QProcess& p, const QString& program, const QString& folder) {
    p.setProgram(program);
    p.setArguments({"--folder", folder, "--port", "1", "--state", folder + "/stan", "--pace",
                    "--baud", QString::number(kBaud), "--turnaround", "16"});
    p.start();
    QElapsedTimer t;
    t.start();
    QByteArray wyjscie;
    while (!wyjscie.contains("gotowe:") && t.elapsed() < 10000 &&
           p.state() != QProcess::NotRunning) {
        p.waitForReadyRead(200);
        wyjscie += p.readAllStandardOutput();
    }
    return wyjscie.contains("gotowe:");
}

// The lines of a file the library wrote, after its three header lines.
QList<QByteArray> linieDanych(const QString& nazwa) {
    QFile f(nazwa);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    CzytnikLinii czytnik(f);
    QList<QByteArray> linie;
    QByteArray l;
    for (int i = 0; czytnik.nastepna(l); ++i)
        if (i >= 3)
            linie << l;
    return linie;
}

// The reply message of a name list: its header and the encoded names.
std::size_t ladunekNazw(const QString& nazwa, int pole) {
    std::vector<std::string> nazwy;
    for (const QByteArray& l : linieDanych(nazwa))
        nazwy.push_back(WezPole(l, pole).value_or(QByteArray()).toStdString());
    std::vector<std::uint8_t> dane;
    pixo::protokol::kodujNazwy(nazwy, dane);
    return pixo::protokol::NAGLOWEK_ODPOWIEDZI + dane.size();
}

std::size_t ladunekDefinicji(const QString& nazwa) {
    std::vector<pixo::DefinicjaNaKasie> definicje;
    for (const QByteArray& l : linieDanych(nazwa)) {
        pixo::DefinicjaNaKasie d;
        d.kod = static_cast<std::uint8_t>(PoleLinii(1, l).mid(1).toInt());
        d.typ = static_cast<std::uint8_t>(PoleLinii(2, l).toInt());
        for (int i = 0; i < 4; ++i)
            d.pola[i] = PoleLinii(static_cast<std::uint8_t>(3 + i), l).toLongLong();
        definicje.push_back(d);
    }
    std::vector<std::uint8_t> dane;
    pixo::protokol::kodujDefinicje(definicje, dane);
    return pixo::protokol::NAGLOWEK_ODPOWIEDZI + dane.size();
}

struct Pomiar {
    double czas = 0;    // the median import, s
    qint64 ladunek = 0; // payload bytes
    qint64 przerwa = 0; // the GUI thread's longest gap, ms
    bool udany = false;
};

// `powtorzenia` start-up imports through the program's window; each through a link `lacze()`
// makes.
Pomiar zmierz(int powtorzenia, const std::function<std::unique_ptr<LaczeKasy>()>& lacze) {
    StanProgramu stan;
    SkryptDialogi dialogi;
    TForm3 okno(stan, dialogi);
    okno.show();

    // The GUI thread's gaps: a timer that should fire every 5 ms, and the longest time
    // between two of its firings.
    QElapsedTimer zegar;
    qint64 ostatni = 0, najdluzsza = 0;
    QTimer probka;
    QObject::connect(&probka, &QTimer::timeout, [&] {
        const qint64 teraz = zegar.elapsed();
        najdluzsza = std::max(najdluzsza, teraz - ostatni);
        ostatni = teraz;
    });

    Pomiar p;
    std::vector<double> czasy;
    for (int i = 0; i < powtorzenia; ++i) {
        const std::unique_ptr<LaczeKasy> l = lacze();
        okno.ustawKomunikacje({}, *l);
        dialogi.odpowiedzi = {Dialogi::Tak};
        QElapsedTimer czas;
        czas.start();
        zegar.start();
        ostatni = 0;
        probka.start(5);
        okno.importStartowy();
        probka.stop();
        najdluzsza = std::max(najdluzsza, zegar.elapsed() - ostatni);
        czasy.push_back(czas.elapsed() / 1000.0);
        if (!dialogi.nieoczekiwane.isEmpty() || dialogi.pokazane.size() != 1) {
            std::fprintf(stderr, "import nie przeszedł: %s\n",
                         qPrintable(dialogi.teksty().join(" | ")));
            return p;
        }
        dialogi.wyczysc();
        p.ladunek =
            static_cast<qint64>(ladunekNazw(kPlikTowarow, 2) + ladunekNazw(kPlikPlatnosci, 2) +
                                ladunekNazw(kPlikWalut, 3) + ladunekDefinicji("klawisz.txt"));
    }
    std::sort(czasy.begin(), czasy.end());
    p.czas = czasy[czasy.size() / 2];
    p.przerwa = najdluzsza;
    p.udany = true;
    return p;
}

// Prints one import's figures; true when within the targets.
bool wypisz(const char* biblioteki, int powtorzenia, const Pomiar& p) {
    const double linia = p.ladunek * 10.0 / kBaud;
    const double stosunek = p.czas / linia;
    std::printf("Import startowy (TForm3, %s, %d bod, zwłoka 16 ms, %d powt., mediana)\n",
                biblioteki, kBaud, powtorzenia);
    std::printf(
        "  ładunek %lld B, czas linii %.3f s, czas %.3f s, stosunek %.3f (cel <= %.2f) %s\n",
        static_cast<long long>(p.ladunek), linia, p.czas, stosunek, kCelCzasu,
        stosunek <= kCelCzasu ? "OK" : "ZA WOLNO");
    std::printf("  najdłuższa przerwa wątku okna %lld ms (cel < %lld ms) %s\n",
                static_cast<long long>(p.przerwa), static_cast<long long>(kCelPrzerwyMs),
                p.przerwa < kCelPrzerwyMs ? "OK" : "ZA DŁUGO");
    return p.udany && stosunek <= kCelCzasu && p.przerwa < kCelPrzerwyMs;
}

} // namespace

int main(int argc, char** argv) {
    QApplication aplikacja(argc, argv);
    int powtorzenia = 1;
    const QStringList argumenty = aplikacja.arguments();
    if (const qsizetype i = argumenty.indexOf("--powtorzenia"); i > 0 && i + 1 < argumenty.size())
        powtorzenia = std::max(1, argumenty[i + 1].toInt());
    const QString emulator =
        QCoreApplication::applicationDirPath() + "/../../emulator/pixo-emulator";

    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    QProcess proces;
    if (!uruchomEmulator(proces, emulator, folder.path())) {
        std::fprintf(stderr, "emulator nie wystartował: %s\n", qPrintable(emulator));
        return 1;
    }
    QFile konfig("KONFIG.TXT");
    if (!konfig.open(QIODevice::WriteOnly) ||
        konfig.write(QByteArray("$01\tcom1:") + QByteArray::number(kBaud) + ":mux0:1\t5\r\n") < 0)
        return 1;
    konfig.close();

    Klepsydra klepsydra;
    bool wynik =
        wypisz("libkavrel.so", powtorzenia, zmierz(powtorzenia, [&] {
                   return std::make_unique<BibliotekiKasy>(oczekiwanieZKlepsydra(klepsydra));
               }));

    // The same through Wine, in a prefix of the benchmark's own in the build folder.
    const QString windows = QCoreApplication::applicationDirPath() + "/../../windows/";
    qputenv("XDG_DATA_HOME",
            (QCoreApplication::applicationDirPath() + "/../wine-dane").toLocal8Bit());
    if (QFile::exists(windows + "pixo-most.exe") && !DomyslneUstawieniaWine().wine.isEmpty()) {
        for (const char* dll : {"Kavrel.dll", "Sevrin.dll"})
            QFile::copy(windows + dll, dll);
        // The prefix is made once, on the benchmark's first run, and not timed.
        if (const auto blad = PrzygotujPrefiks(DomyslneUstawieniaWine())) {
            std::fprintf(stderr, "%s\n", qPrintable(*blad));
            return 1;
        }
        std::printf("\n");
        // As the program does: the bridge starts when the link is made, the import follows.
        wynik = wypisz("Kavrel.dll przez Wine", powtorzenia,
                       zmierz(powtorzenia,
                              [&] {
                                  auto l = std::make_unique<BibliotekiWine>(
                                      *BibliotekiProducenta("."), oczekiwanieZKlepsydra(klepsydra));
                                  l->uruchomWTle();
                                  return l;
                              })) &&
                wynik;
    }
    proces.terminate();
    proces.waitForFinished(5000);
    return wynik ? 0 : 1;
}
