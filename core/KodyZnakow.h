#pragma once
// Code pages of the files and names the program exchanges: the register sends goods names in
// code page 852, the label files are in code page 1250.

#include <QByteArray>
#include <QString>

// The eighteen Polish letters of code page 852 become their code page 1250 codes; every other
// byte comes back unchanged.
unsigned char Znak852Na1250(unsigned char c);
// Znak852Na1250 applied to every byte; the result has the same length.
QByteArray Tekst852Na1250(const QByteArray& s);

// Code page 1250 text to Unicode. The five bytes the code page leaves undefined (0x81, 0x83,
// 0x88, 0x90, 0x98) become the control characters of the same number, as Windows reads them,
// so that any byte sequence survives a round trip through tekstNa1250.
QString tekstZ1250(const QByteArray& bajty);
// Unicode to code page 1250; a character the code page lacks is written as "?".
QByteArray tekstNa1250(const QString& tekst);
// Whether every character of the text has a code page 1250 byte.
bool daSieZapisacW1250(const QString& tekst);

// Code page 852 text to Unicode and back ("?" for a character the code page lacks).
QString tekstZ852(const QByteArray& bajty);
QByteArray tekstNa852(const QString& tekst);
