// Export benchmark: one labelled "Zapis do pliku" of each overlay type, run through the real
// handler on the main window's form, against a floor measured in the same run: reading the
// type's print bitmap from a file and writing it unchanged to a new file with the same image
// library. Prints the medians and their ratio; the target is at most 2.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/WidokiFormy.h"
#include "core/SkryptDialogi.h"
#include "core/TRadioGroup.h"
#include "keys/StanProgramu.h"
#include "overlay/EksportWkladki.h"
#include "overlay/KontrolerWkladki.h"
#include "overlay/NapisyKlawiszy.h"
#include "overlay/ObrazyWkladki.h"
#include "overlay/PlikNapisow.h"
#include "ui_TForm3.h"

namespace {

double mediana(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

double msOd(const QElapsedTimer& t) {
    return t.nsecsElapsed() / 1e6;
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

    std::printf("Eksport wkładki: mediana z %d powtórzeń, wszystkie 14 napisów wypełnione\n",
                powtorzenia);
    std::printf("%-10s %12s %12s %12s %8s\n", "typ", "pierwszy ms", "eksport ms", "podłoga ms",
                "iloraz");
    bool wCelu = true;
    for (int typ : {WkladkaOgolna, WkladkaLekarska}) {
        ui.Typkasy->setItemIndex(typ);

        // The floor's input: the print bitmap as a file.
        const QString zrodlo = katalog.filePath(QStringLiteral("wydruk%1.bmp").arg(typ));
        QFile::remove(zrodlo);
        QFile::copy(nazwaBitmapyWydruku(typ), zrodlo);

        std::vector<double> eksport, podloga;
        double pierwszy = 0;
        for (int i = 0; i < powtorzenia; ++i) {
            for (int k = 0; k < 14; ++k)
                w.edity[k]->setText(QStringLiteral("ŻÓŁW %1").arg(k));
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

            t.start();
            const QImage obraz(zrodlo);
            obraz.save(katalog.filePath(QStringLiteral("podloga%1_%2.bmp").arg(typ).arg(i)), "BMP");
            podloga.push_back(msOd(t));
        }
        const double e = mediana(eksport);
        const double p = mediana(podloga);
        const double iloraz = e / p;
        wCelu = wCelu && iloraz <= 2.0;
        std::printf("%-10s %12.2f %12.2f %12.2f %8.2f\n",
                    typ == WkladkaOgolna ? "ogólna" : "lekarska",
                    typ == WkladkaOgolna ? pierwszy : eksport.front(), e, p, iloraz);
        if (!dialogi.nieoczekiwane.isEmpty() ||
            !QFile::exists(QStringLiteral("eksport%1_0.bm0").arg(typ))) {
            std::printf("eksport nie zapisał plików\n");
            return 1;
        }
    }
    // Where an export's time goes, on the general overlay: drawing, the two files.
    {
        const QImage& wydruk = bitmapaWydruku(WkladkaOgolna);
        const SkalaEksportu s = skalaEksportu(wydruk.size(), ui.iWkladka->size());
        const QFont f = czcionkaEksportu(ui.Edit1->font(), s.sy);
        std::vector<NapisEksportu> napisy;
        for (int k = 0; k < 14; ++k)
            napisy.push_back({QStringLiteral("ŻÓŁW %1  ").arg(k), w.edity[k]->pos(),
                              napisJednoliniowy(k), kolorNapisow(WkladkaOgolna)});
        std::vector<double> rys, bmp, bm0;
        for (int i = 0; i < powtorzenia; ++i) {
            QElapsedTimer t;
            t.start();
            const QImage obraz = rysujNapisy(wydruk, napisy, f, Qt::black, s);
            rys.push_back(msOd(t));
            t.start();
            zapiszBitmape(obraz, katalog.filePath(QStringLiteral("rozklad%1.bmp").arg(i)));
            bmp.push_back(msOd(t));
            t.start();
            zapiszPlikNapisow(katalog.filePath(QStringLiteral("rozklad%1.bm0").arg(i)),
                              LinieNapisow{});
            bm0.push_back(msOd(t));
        }
        std::printf(
            "ogólna, rozkład: rysowanie %.2f ms, zapis bitmapy %.2f ms, plik napisów %.2f ms\n",
            mediana(rys), mediana(bmp), mediana(bm0));
    }
    std::printf("cel (iloraz <= 2): %s\n", wCelu ? "spełniony" : "NIE spełniony");
    return 0;
}
