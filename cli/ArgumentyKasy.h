#pragma once
// The command line of pixo-kasa: which register work to do, on which registers, with which
// files. Widget-free. A wrong command line is told in Polish and nothing else happens.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

enum class Polecenie { Odczyt, Zapis, Kasowanie, Towary, Porownaj };

struct ZlecenieKasy {
    Polecenie polecenie = Polecenie::Odczyt;
    QString plik;                         // zapis, porownaj: the key-definition file
    std::vector<int> kasy;                // register numbers 1 to 99 in the order given, each once
    bool wszystkie = false;               // every register of the configuration file instead
    QString folder = QStringLiteral("."); // odczyt, towary: where the files go (-o)
    QString konfiguracja; // --konfig; empty: KONFIG.TXT (any letter case) of the current folder
    bool tak = false;     // kasowanie without the question
    bool json = false;    // the results as one JSON document instead of lines
};

struct ArgumentyKasy {
    std::optional<ZlecenieKasy> zlecenie; // nothing with --help or a wrong command line
    bool pomoc = false;
    QString blad; // what is wrong with the command line, in Polish
};

// `argumenty` without the program's own name.
ArgumentyKasy CzytajArgumenty(const QStringList& argumenty);

// The command's name as typed ("porownaj" for both spellings).
QString NazwaPolecenia(Polecenie polecenie);

// The Polish text of --help.
QString TekstPomocy();
