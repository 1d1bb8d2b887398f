// Export benchmark: one labelled "Zapis do pliku" of each overlay type, run through the real
// handler on the main window's form, each with all its labels changed since the export before,
// against a floor measured in the same run: the same bytes (the bitmap and the label file the
// export wrote) written as durably as the export must write them, each to a temporary beside its
// target, synced, closed and renamed over it, with plain system calls. What the export adds to that
// floor is its own work: the drawing into the file and the writer's bookkeeping. Prints the medians
// and their ratio; the target is at most 1.25.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

#include "app/WidokiFormy.h"
#include "core/ZapisPliku.h"
#include "core/okno/SkryptDialogi.h"
#include "core/okno/TRadioGroup.h"
#include "keys/StanProgramu.h"
#include "overlay/EksportWkladki.h"
#include "overlay/NapisyKlawiszy.h"
#include "overlay/ObrazyWkladki.h"
#include "overlay/PlikBitmapy.h"
#include "overlay/PlikNapisow.h"
#include "overlay/okno/KontrolerWkladki.h"
#include "ui_TForm3.h"

namespace {

double mediana(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

double msOd(const QElapsedTimer& t) {
    return t.nsecsElapsed() / 1e6;
}

// The durable write every whole-or-nothing writer needs at the least: temporary, write, sync,
// close, rename.
bool zapiszTrwale(const QString& sciezka, QByteArrayView dane) {
    const QByteArray cel = QFile::encodeName(sciezka);
    const QByteArray tymczasowa = cel + ".tmp";
    const int fd = ::open(tymczasowa.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    bool ok = ::write(fd, dane.constData(), static_cast<size_t>(dane.size())) == dane.size();
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    return ok && ::rename(tymczasowa.constData(), cel.constData()) == 0;
}

QByteArray zawartosc(const QString& sciezka) {
    QFile f(sciezka);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

int main(int argc, char** argv) {
    QApplication aplikacja(argc, argv);
    int powtorzenia = 30;
    if (argc > 1)
        powtorzenia = std::max(3, QString::fromLocal8Bit(argv[1]).toInt());

    QTemporaryDir katalog;
    if (!katalog.isValid())
        return 1;
    QDir::setCurrent(katalog.path());

    StanProgramu stan;
    SkryptDialogi dialogi;
    QWidget forma;
    Ui::TForm3 ui;
    ui.setupUi(&forma);
    QFont czcionka(QStringLiteral("MS Sans Serif"));
    czcionka.setPixelSize(12);
    forma.setFont(czcionka);
    ui.rgAlty->setItemIndex(3);
    ui.Typkasy->setItemIndex(0);
    const WidokWkladki w = widokWkladki(&forma, ui);
    KontrolerWkladki wkladka(w, stan, dialogi);

    std::printf("Eksport wkładki: mediana z %d powtórzeń, wszystkie 14 napisów wypełnione, "
                "w każdym eksporcie inne\n",
                powtorzenia);
    std::printf("%-10s %12s %12s %12s %8s\n", "typ", "pierwszy ms", "eksport ms", "podłoga ms",
                "iloraz");
    bool wCelu = true;
    for (int typ : {WkladkaOgolna, WkladkaLekarska}) {
        ui.Typkasy->setItemIndex(typ);

        std::vector<double> eksport, podloga;
        QByteArray bmp, bm0; // the floor's bytes: what the first export of the type wrote
        double pierwszy = 0;
        for (int i = 0; i < powtorzenia; ++i) {
            // Every label other than in the export before, as after editing them all: an
            // export of labels it drew already would leave them in the file as they are.
            for (int k = 0; k < 14; ++k)
                w.edity[k]->setText(QStringLiteral("ŻÓŁ%1 %2").arg(i % 10).arg(k));
            // Both write new files, as an export to a freshly chosen name does.
            dialogi.pliki.push_back(
                katalog.filePath(QStringLiteral("eksport%1_%2.bmp").arg(typ).arg(i)));
            QElapsedTimer t;
            t.start();
            wkladka.BitBtn1Click();
            const double ms = msOd(t);
            if (i == 0 && typ == WkladkaOgolna)
                pierwszy = ms; // includes decoding the embedded bitmap once per run
            eksport.push_back(ms);

            if (i == 0) {
                bmp = zawartosc(katalog.filePath(QStringLiteral("eksport%1_0.bmp").arg(typ)));
                bm0 = zawartosc(katalog.filePath(QStringLiteral("eksport%1_0.bm0").arg(typ)));
                if (bmp.isEmpty() || bm0.isEmpty()) {
                    std::printf("eksport nie zapisał plików\n");
                    return 1;
                }
            }

            t.start();
            const QString podstawa =
                katalog.filePath(QStringLiteral("podloga%1_%2").arg(typ).arg(i));
            if (!zapiszTrwale(podstawa + QStringLiteral(".bmp"), bmp) ||
                !zapiszTrwale(podstawa + QStringLiteral(".bm0"), bm0)) {
                std::printf("podłoga nie zapisała plików\n");
                return 1;
            }
            podloga.push_back(msOd(t));
        }
        const double e = mediana(eksport);
        const double p = mediana(podloga);
        const double iloraz = e / p;
        wCelu = wCelu && iloraz <= 1.25;
        std::printf("%-10s %12.2f %12.2f %12.2f %8.2f\n",
                    typ == WkladkaOgolna ? "ogólna" : "lekarska",
                    typ == WkladkaOgolna ? pierwszy : eksport.front(), e, p, iloraz);
        if (!dialogi.nieoczekiwane.isEmpty()) {
            std::printf("eksport zgłosił nieoczekiwany komunikat\n");
            return 1;
        }
    }
    // Where an export's time goes, on the general overlay: drawing the labels into the file
    // (as the export does, on the file of the previous one, which keeps the labels that did
    // not change; and with every label new), the bitmap handed to the project's writer, the
    // same bytes written by the floor, and the label file.
    {
        const QImage& wydruk = bitmapaWydruku(WkladkaOgolna);
        const SkalaEksportu s = skalaEksportu(wydruk.size(), ui.iWkladka->size());
        const QFont f = czcionkaEksportu(ui.Edit1->font(), s.sy);
        std::vector<NapisEksportu> napisy;
        for (int k = 0; k < 14; ++k)
            napisy.push_back({QStringLiteral("ŻÓŁW %1  ").arg(k), w.edity[k]->pos(),
                              napisJednoliniowy(k), kolorNapisow(WkladkaOgolna)});
        PlikBitmapy plik, plikNowych;
        std::vector<NapisEksportu> nowe = napisy;
        std::vector<double> rys, rysNowe, pisarz, trwale, bm0;
        for (int i = 0; i < powtorzenia; ++i) {
            QElapsedTimer t;
            t.start();
            plik.rysuj(wydruk, napisy, f, Qt::black, s, kPikseliNaMetr);
            rys.push_back(msOd(t));
            for (int k = 0; k < 14; ++k)
                nowe[k].tekst = QStringLiteral("ŻÓŁ%1 %2  ").arg(i % 10).arg(k % 10);
            t.start();
            plikNowych.rysuj(wydruk, nowe, f, Qt::black, s, kPikseliNaMetr);
            rysNowe.push_back(msOd(t));
            const QString podstawa = katalog.filePath(QStringLiteral("rozklad%1").arg(i));
            t.start();
            zapiszBezpiecznie(podstawa + QStringLiteral(".bmp"), plik.dane());
            pisarz.push_back(msOd(t));
            t.start();
            zapiszTrwale(podstawa + QStringLiteral("p.bmp"), plik.dane());
            trwale.push_back(msOd(t));
            t.start();
            zapiszPlikNapisow(podstawa + QStringLiteral(".bm0"), LinieNapisow{});
            bm0.push_back(msOd(t));
        }
        std::printf("ogólna, rozkład: rysowanie %.2f ms (wszystkie napisy nowe %.2f ms), bitmapa "
                    "przez zapis programu %.2f ms, ta sama trwale %.2f ms, plik napisów %.2f ms\n",
                    mediana(rys), mediana(rysNowe), mediana(pisarz), mediana(trwale), mediana(bm0));
    }
    std::printf("cel (iloraz <= 1.25): %s\n", wCelu ? "spełniony" : "NIE spełniony");
    return 0;
}
