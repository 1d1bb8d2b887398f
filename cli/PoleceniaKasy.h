#pragma once
// The work of pixo-kasa: one command on several registers, one after another, through the
// register libraries, with the program's own key-definition file reader and writer.
// Widget-free.
//
// Before any register is reached: the configuration file is found, the register list made,
// and for zapis and porownaj the file is read whole by the program's reader; any failure
// there (or a refused delete question) ends the run with nothing sent. Then each register in
// turn, in the private working folder (cli/FolderRoboczy.h); a register's failure is reported
// and the run goes on with the next one.
//
// Per register:
// - odczyt: the register's key definitions into <folder>/kasa-NN.txt, whole or not at all (a
//   failure leaves an older file as it was);
// - zapis: the file's definitions, with the register's number in the header, to the register;
// - kasowanie: all 28 definitions deleted in the register;
// - towary: goods, payments and currencies into <folder>/towary-NN.txt, plat-NN.txt and
//   waluta-NN.txt: the three or, after any failure, none of them;
// - porownaj: the register's definitions read and compared with the file's, key by key.

#include <functional>

#include "cli/ArgumentyKasy.h"

class LaczeKasy;
class RaportKasy;

// The exit status: 0 every register succeeded (porownaj: and matched the file); 1 at least one
// did not (porownaj: a register differs); 2 the work was not done: nothing was sent (command
// line, file, configuration, the delete refused), porownaj could not read a register, or the
// results could not be written (the registers after that one are not reached).
constexpr int kWyjscieOk = 0;
constexpr int kWyjscieBladKasy = 1;
constexpr int kWyjscieNieWykonano = 2;

struct SrodowiskoKasy {
    LaczeKasy& lacze;
    RaportKasy& raport;
    // Asks the delete question; true for yes.
    std::function<bool(const QString& pytanie)> pytanie;
    // Told the register the next library calls are for (the progress line shows it).
    std::function<void(int kasa)> naKase;
};

int WykonajZlecenie(const ZlecenieKasy& zlecenie, SrodowiskoKasy& srodowisko);
