#pragma once
// The program's start-up in its fixed order, as one object so that the benchmark starts the
// program exactly as the user does: the busy cursor and the pending import first, then the
// application, the main window and the hidden communication dialog; the start-up import runs
// once before the first message is dispatched.

#include <memory>

class TAplikacja;
class TForm3;

// Runs the main window's start-up import; an error that escapes it is shown in the
// application's report. True when the user chose there to end the program.
bool ImportZRaportem(TAplikacja& aplikacja, TForm3& okno);

class Program {
public:
    // Start-up up to the main window shown and the communication dialog created.
    Program(int& argc, char** argv);
    ~Program();

    TForm3& okno();
    // The start-up import, once; then the message loop until the main window closes.
    int wykonaj();

private:
    struct Dane;
    std::unique_ptr<Dane> d;
};
