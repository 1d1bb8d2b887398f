#pragma once
// The label file (".bm0"): fourteen lines of label text, each ended by CR LF, in code page
// 1250, in the order of kKolejnoscPliku.

#include <QByteArray>
#include <QString>
#include <array>

#include "overlay/NapisyKlawiszy.h"

class QIODevice;

using LinieNapisow = std::array<QString, kLiczbaNapisow>; // file order

// A line longer than this is cut here: it is the longest text an edit takes at all.
constexpr int kNajdluzszaLinia = 32767;

QByteArray zakodujPlikNapisow(const LinieNapisow& linie);

// Reads up to fourteen lines. A line ends at CR LF, at a lone LF or at a lone CR; missing
// lines are empty and lines after the fourteenth are not read. A NUL byte ends the line's
// text (an edit shows nothing after it); bytes the code page leaves undefined are kept as
// the control characters of the same number.
LinieNapisow czytajPlikNapisow(QIODevice& plik);
LinieNapisow czytajPlikNapisow(const QByteArray& zawartosc);

// Both raise BladProgramu when the file cannot be opened, read or written; the reader takes
// only a regular file of at most kMaksPlikuNapisow bytes (core/OdczytPliku.h). The writer goes
// through a temporary file in the same folder, so a failed write leaves the old file as it was.
constexpr qint64 kMaksPlikuNapisow = 1024 * 1024;
void zapiszPlikNapisow(const QString& sciezka, const LinieNapisow& linie);
LinieNapisow wczytajPlikNapisow(const QString& sciezka);
