#pragma once
// The machine's serial devices, and the links "comN" in the working folder through which the
// register libraries open port N. Widget-free.
//
// The devices come from Qt's serial port module (on Linux it asks udev). A USB adapter is named
// by its link in /dev/serial/by-id when udev made one: that name stays the same when the
// adapter is plugged into another socket or the kernel numbers it ttyUSB1 instead of ttyUSB0.
//
// Linking is whole-or-nothing: the new link is made under a temporary name beside the old one
// and renamed over it, so that port N leads at every moment to the old device or to the new
// one. An existing "comN" that is not a link (a file of the user's, a folder) is never
// replaced. Every refusal comes back as a Polish text; nothing has changed then.

#include <QString>
#include <vector>

struct UrzadzenieSzeregowe {
    QString sciezka; // what the link leads to: /dev/serial/by-id/... or /dev/ttyUSB0
    QString opis;    // the line the user picks: the name and what the device says it is
};

// The serial devices of the machine, asked for when the user opens the list (asking udev and
// probing the ttyS ports takes a few milliseconds, too long for every opening of the dialog).
std::vector<UrzadzenieSzeregowe> UrzadzeniaSystemu();

// The list made of the devices found (their /dev names and descriptions): each one that has
// a link in `katalogById` under that link's name, those first, then the rest by name.
std::vector<UrzadzenieSzeregowe>
UrzadzeniaZNazwamiById(const std::vector<UrzadzenieSzeregowe>& znalezione,
                       const QString& katalogById);

// The name of port N's file in `folder`: "comN" in whatever letter case it exists (the exact
// lower-case name first, else the first in byte order, as the libraries pick it), "comN"
// itself when there is none.
QString NazwaPortu(const QString& folder, int port);

// What port N of `folder` is now, for the user: "Port 1: /dev/ttyUSB0" for a link, and the
// device the libraries fall back to when there is no "comN".
QString OpisPortu(const QString& folder, int port);

// Why `urzadzenie` cannot be opened for reading and writing by this user (missing, no
// permission: the dialout group); empty when it can. A device busy in another program counts
// as one that can: it is the right device all the same.
QString PowodNiedostepnosci(const QString& urzadzenie);

// Makes port N of `folder` lead to `urzadzenie`. Empty on success, else why not (the device
// cannot be opened, "comN" is not a link, the folder is not writable).
QString DowiazPort(const QString& folder, int port, const QString& urzadzenie);
