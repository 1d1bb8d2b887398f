#pragma once
// Reader of animated cursor files (.ani): a RIFF "ACON" container whose "anih" header gives
// the frame and step counts, an optional "rate" chunk the per-step display times, an optional
// "seq " chunk the frame shown at each step, and a "LIST" "fram" chunk the frames as cursor
// or icon files. Needs no widget and no application object, so the busy cursor can be read
// before the application exists and the reader can be fuzzed on its own.
//
// The file comes from outside the program, so every size and offset is checked before use and
// every count is capped: a damaged file is "not loaded", never a crash or a huge allocation.

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QString>
#include <optional>

struct KlatkaAni {
    QImage obraz;        // Format_ARGB32, at most kMaksBok pixels on a side
    QPoint punktAktywny; // hotspot, inside the image
};

struct KrokAni {
    int klatka = 0;  // index into the frames
    int jiffies = 1; // display time in 1/60 s, at least 1
    int czasMs() const { return jiffies * 1000 / 60; }
};

struct AnimacjaAni {
    QList<KlatkaAni> klatki; // never empty in a loaded animation
    QList<KrokAni> kroki;    // never empty; each names an existing frame
};

namespace PlikAni {

// Caps on what a file may ask for; a file above any of them is refused.
inline constexpr int kMaksKlatek = 256;
inline constexpr int kMaksKrokow = 4096;
inline constexpr int kMaksBok = 256;
inline constexpr qint64 kMaksPikseli = 8 * 1024 * 1024; // all frames together (32 MB)
inline constexpr qint64 kMaksPliku = 16 * 1024 * 1024;
// A step longer than ten minutes is taken as ten minutes.
inline constexpr int kMaksJiffies = 10 * 60 * 60;

// Parses the bytes of an .ani file; nothing when they are not a usable animated cursor.
std::optional<AnimacjaAni> czytaj(const QByteArray& dane);

// Reads and parses a file; nothing when it is missing, unreadable, too large, no regular file
// (a FIFO is not waited for, core/OdczytPliku.h) or not usable.
std::optional<AnimacjaAni> czytajPlik(const QString& sciezka);

// Parses one .cur/.ico file (also used for the frames of an animation). `preferowanyBok`
// picks the directory entry of that size when there are several (0: the largest).
std::optional<KlatkaAni> czytajKursor(const QByteArray& dane, int preferowanyBok = 0);

} // namespace PlikAni
