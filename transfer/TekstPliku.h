#pragma once
// Reading the text files the register library writes and the user edits: lines of at most
// 255 characters and decimal numbers. Widget-free.

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>
#include <optional>

class QIODevice;

// Lines are at most this long.
constexpr int kMaksDlugoscLinii = 255;

// A signed 32-bit decimal number: an optional sign and digits, nothing else (no blanks).
std::optional<std::int32_t> Liczba32(QByteArrayView tekst);

// The lines of a file one at a time, whatever their end (CR LF, LF or a bare CR), never
// holding more than one line's worth of a long line: a binary or huge file cannot make the
// reader grow.
class CzytnikLinii {
public:
    explicit CzytnikLinii(QIODevice& urzadzenie) : m_urzadzenie(urzadzenie) {}

    // The next line without its end, at most kMaksDlugoscLinii characters of it; `zaDluga`
    // tells that there were more. False at the end of the file.
    bool nastepna(QByteArray& linia, bool& zaDluga);
    bool nastepna(QByteArray& linia) {
        bool zaDluga = false;
        return nastepna(linia, zaDluga);
    }
    // Whether reading stopped on an error of the device rather than at the end.
    bool bladOdczytu() const { return m_blad; }

private:
    bool znak(char& c);

    QIODevice& m_urzadzenie;
    QByteArray m_bufor;
    qsizetype m_pozycja = 0;
    bool m_blad = false;
};
