#pragma once
// Files a maker's DLL writes for the program under a temporary name beside the target, so that
// whatever the DLL does when it fails, crashes or hangs midway, the older file stays whole: the
// temporary takes the target's place only once the call succeeded. Widget-free.

#include <QString>

// Where a DLL writes `nazwa` until the call has succeeded: ".<name>.<random>.pixo" beside it.
// Empty when the name is one the DLL itself must see and refuse (KONFIG.TXT, RAPORT.TXT, the
// input `wejscie` again), or when the temporary's name would not fit the DLL's 255 bytes.
QString NazwaRobocza(const QString& nazwa, const QString& wejscie = {});

// The finished temporary takes the target's place: synced, then renamed over the file the
// target's name stands for in any letter case (the one the DLL would have written). False,
// the temporary removed, when it is not there or cannot be moved.
bool OpublikujRobocza(const QString& robocza, const QString& cel);

// Removes the temporary and, when the DLL was stopped midway (`przerwana`), whatever else it
// left named after it (its own temporaries, our DLLs' ".<name>.<random>.tmp" among them).
void UsunRobocza(const QString& robocza, bool przerwana);
