#pragma once
// Both start-up programs report the moment their window is on screen the same way: one line
// on stdout with the peak resident memory so far, then they quit.

#include <QApplication>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <cstdio>

inline long szczytPamieciKb() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& linia : f.readAll().split('\n'))
        if (linia.startsWith("VmHWM:"))
            return linia.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// Waits until the window has been exposed and painted once, then reports and quits.
inline void zglosPoPokazaniu(QWidget& okno) {
    QTimer::singleShot(0, &okno, [&okno] {
        okno.repaint();
        std::printf("pokazane %ld\n", szczytPamieciKb());
        std::fflush(stdout);
        QApplication::quit();
    });
}
