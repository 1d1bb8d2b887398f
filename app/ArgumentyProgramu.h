#pragma once
// The window program's own command line: --help and --version answer on the terminal and end
// the program before any window (or display connection) exists. Every other argument is left
// to the toolkit, as before (-platform, -style, -display ...). Widget-free.

#include <QString>

enum class StartProgramu { Okno, Pomoc, Wersja };

// What the first of the program's own options asks for; Okno when there is none.
StartProgramu CzytajArgumentyProgramu(int argc, const char* const* argv);

// The Polish text of --help and the one line of --version, each with its line end.
QString TekstPomocyProgramu();
QString TekstWersjiProgramu();
