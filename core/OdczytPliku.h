#pragma once
// Finding and reading the files the program and pixo-kasa take in: the key-definition and
// label files the user picks, the lists and key definitions the register library leaves,
// KONFIG.TXT, hourglas.ani. Widget-free.
//
// Every such file goes through wczytajZwyklyPlik, the one open of the program's readers: a name
// may lead anywhere (a FIFO, a link to /dev/zero, a file that keeps growing), and a reader
// must neither wait for a writer that never comes nor read without end.

#include <QByteArray>
#include <QString>

// The file that `nazwa` stands for in `folder` when letter case is not looked at, by the
// register library's own rule (link/common/NazwaBezWielkosci.h): the folder's path joined
// with the name found ("." gives the bare name), "KONFIG.TXT" or "konfig.txt" alike. Empty
// when there is none.
QString plikBezWielkosci(const QString& folder, const QString& nazwa);

// The whole of a regular file of at most `maksBajtow` bytes (a link to one is followed).
// Anything else is refused before a byte is read: a FIFO (opened without waiting for a
// writer), a device, a socket, a folder, a larger file. Raises BladProgramu in Polish,
// "Nie można otworzyć pliku "<sciezka>": <why>." or "Nie można odczytać pliku ...".
QByteArray wczytajZwyklyPlik(const QString& sciezka, qint64 maksBajtow);
