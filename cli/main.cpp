// pixo-kasa: the key definitions of many registers from the command line (--help).

#include <QString>
#include <QStringList>
#include <cstdio>
#include <iostream>
#include <string>
#include <unistd.h>

#include "cli/ArgumentyKasy.h"
#include "cli/FolderRoboczy.h"
#include "cli/PoleceniaKasy.h"
#include "cli/PostepNaTerminalu.h"
#include "cli/RaportKasy.h"
#include "transfer/WyborBibliotek.h"

namespace {

// Asked on standard error, answered on standard input: "t" or "tak" is yes, anything else
// (the end of the input included) no.
bool zapytaj(const QString& pytanie) {
    std::fputs((pytanie + QStringLiteral(" [t/N] ")).toUtf8().constData(), stderr);
    std::fflush(stderr);
    std::string odpowiedz;
    const bool jest = static_cast<bool>(std::getline(std::cin, odpowiedz));
    if (!isatty(STDIN_FILENO))
        std::fputc('\n', stderr); // the answer came from a pipe, not echoed by a terminal
    if (!jest)
        return false;
    const QString o = QString::fromLocal8Bit(odpowiedz).trimmed().toLower();
    return o == QLatin1String("t") || o == QLatin1String("tak");
}

} // namespace

int main(int argc, char** argv) {
    UsuwajPrzySygnale();
    QStringList argumenty;
    for (int i = 1; i < argc; ++i)
        argumenty << QString::fromLocal8Bit(argv[i]);
    const ArgumentyKasy a = CzytajArgumenty(argumenty);
    if (a.pomoc) {
        std::fputs(TekstPomocy().toUtf8().constData(), stdout);
        return kWyjscieOk;
    }
    if (!a.zlecenie) {
        std::fprintf(stderr, "pixo-kasa: %s\nPomoc: pixo-kasa --help\n",
                     a.blad.toUtf8().constData());
        return kWyjscieNieWykonano;
    }

    PostepNaTerminalu postep(isatty(STDERR_FILENO));
    // The maker's DLLs through Wine when they lie in the current folder, as for the window
    // program; the user is told so.
    const std::unique_ptr<LaczeKasy> lacze = WybierzBiblioteki(std::ref(postep));
    if (!lacze->opisBibliotek().isEmpty())
        std::fprintf(stderr, "pixo-kasa: %s\n", lacze->opisBibliotek().toUtf8().constData());
    RaportKasy raport(NazwaPolecenia(a.zlecenie->polecenie), a.zlecenie->json, stdout);
    SrodowiskoKasy srodowisko{*lacze, raport, zapytaj, [&](int kasa) { postep.ustawKase(kasa); }};
    return WykonajZlecenie(*a.zlecenie, srodowisko);
}
