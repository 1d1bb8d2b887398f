#pragma once
// The export's bitmap file, drawn into as it stands.

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QRect>
#include <QSize>
#include <memory>
#include <vector>

#include "overlay/EksportWkladki.h"

class QPaintDevice;

// The export's bitmap file in the making: the print bitmap is encoded once (zakodujBmp), each
// export starts again from those bytes and draws its labels, as rysujNapisy does, straight
// into the file's rows, so that the file is written as it stands, without being encoded
// again. Only the parts the previous export drew are put back, not the whole bitmap; and the
// labels that begin the list as the previous export drew them (the same text, place and
// background, in the same font and text colour) stay as they are, unless a label drawn after
// them covered part of them, since each label is drawn on what the ones before it left.
class PlikBitmapy {
public:
    // The labels on the print bitmap `wydruk` (encoded anew only when it is another bitmap
    // than the last one's), the file's resolution `pikseleNaMetr`, or the bitmap's own at 0.
    void rysuj(const QImage& wydruk, const std::vector<NapisEksportu>& napisy,
               const QFont& czcionka, const QColor& kolorTekstu, SkalaEksportu s,
               int pikseleNaMetr = 0);
    // The Windows bitmap file: what zakodujBmp gives for the drawn bitmap.
    QByteArrayView dane() const { return m_plik; }
    // The drawn bitmap, in the print bitmap's format and with its palette.
    QImage obraz() const;

private:
    struct Paleta;
    // A label as drawn into the file; `obszar` is what it covered, empty for one off the
    // bitmap.
    struct Narysowany {
        QString tekst;
        QRect prostokat;
        QColor tlo;
        QRect obszar;
    };
    void zakodujPodstawe(const QImage& wydruk);
    // Puts the bitmap back under every label drawn after the first `zostaja` ones.
    void wrocDoPodstawy(std::size_t zostaja);
    std::size_t zostajaNapisy(const std::vector<NapisEksportu>& napisy, const QFont& czcionka,
                              const QColor& kolorTekstu, SkalaEksportu s) const;
    // The file's pixels of `czesc` onto the canvas whose top-left lies at `poczatekPlotna` of
    // the bitmap, and the whole canvas, drawn on the background `tlo`, back into the file.
    void doPlotna(const QRect& czesc, QImage& plotno, QPoint poczatekPlotna) const;
    void doPliku(const QImage& plotno, QPoint poczatekPlotna, const QColor& tlo);
    // The labels' font as on the bitmap: the device it is laid out for, its line height and
    // its ascent in whole pixels.
    struct Miara {
        QPaintDevice* urzadzenie;
        int wysokosc;
        int wzniesienie;
    };
    void rysujNapis(const QRect& prostokat, const QString& tekst, const QColor& tlo,
                    const QFont& czcionka, const Miara& miara, const QColor& kolorTekstu);
    qsizetype poczatekWiersza(int y) const;
    uchar* wiersz(int y);

    qint64 m_kluczPodstawy = 0;
    QImage::Format m_format = QImage::Format_Invalid;
    QByteArray m_podstawa; // the print bitmap's file, without labels
    QByteArray m_plik;
    QList<QRgb> m_kolory; // the palette, empty for 24 bits
    std::shared_ptr<Paleta> m_paleta;
    std::vector<Narysowany> m_narysowane; // the labels in the file, in the order drawn
    QFont m_czcionka;                     // theirs
    QColor m_kolorTekstu;
    int m_szerokosc = 0;
    int m_wysokosc = 0;
    QSize m_rozdzielczosc; // the print bitmap's, in pixels per metre
    qsizetype m_dlugoscWiersza = 0;
    qsizetype m_poczatekDanych = 0;
};
