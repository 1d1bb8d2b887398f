#pragma once
// How the window program waits for a register library call (BibliotekiKasy::Oczekiwanie): on a
// worker thread with the busy cursor, user input swallowed and the progress window shown when
// the call lasts (core/okno/CzekanieNaWatku.h). The window repainted meanwhile is the one the
// user works in at the moment of each call: the modal dialog when one is open, else the active
// window.

#include "transfer/LaczeKasy.h"

class Klepsydra;

// `klepsydra` must outlive every call made through the result.
BibliotekiKasy::Oczekiwanie oczekiwanieZKlepsydra(Klepsydra& klepsydra);
