#include "transfer/BledyMostu.h"

#include <cstring>

using namespace pixo::most;

namespace {

QString opisBleduWindows(std::uint32_t kod) {
    switch (kod) {
    case 2:
    case 3:
        return QStringLiteral("nie ma takiego pliku");
    case 5:
        return QStringLiteral("brak dostępu");
    case 126:
        return QStringLiteral("brak biblioteki, której ona potrzebuje");
    case 193:
        return QStringLiteral("to nie jest 32-bitowa biblioteka Windows");
    default:
        return QStringLiteral("błąd systemu Windows %1").arg(kod);
    }
}

QString opisWyjatku(std::uint32_t kod) {
    const QString hex =
        QStringLiteral("0x") + QStringLiteral("%1").arg(kod, 8, 16, QLatin1Char('0')).toUpper();
    switch (kod) {
    case 0xC0000005u:
        return QStringLiteral("wyjątek %1, naruszenie dostępu do pamięci").arg(hex);
    case 0xC00000FDu:
        return QStringLiteral("wyjątek %1, przepełnienie stosu").arg(hex);
    case 0xC0000094u:
        return QStringLiteral("wyjątek %1, dzielenie przez zero").arg(hex);
    default:
        return QStringLiteral("wyjątek %1").arg(hex);
    }
}

QString nazwaFunkcji(std::uint8_t id) {
    return id < kLiczbaFunkcji ? QString::fromLatin1(kFunkcje[id].nazwa) : QString();
}

} // namespace

BladMostu OpiszBladMostu(const ProcesMostu::Odpowiedz& o, Id id, const BibliotekiWine::Pliki& pliki,
                         const UstawieniaWine& ustawienia) {
    const QString plik = o.biblioteka == Biblioteka::Kavrel ? pliki.kavrel : pliki.sevrin;
    const QString funkcja = nazwaFunkcji(o.funkcja);
    switch (o.stan) {
    case ProcesMostu::Stan::PozaCzasem:
        return {kKodBibliotekaNieOdpowiada,
                QStringLiteral("Funkcja %1 biblioteki %2 nie zakończyła się w ciągu %3 s.")
                    .arg(nazwaFunkcji(id), NazwaBiblioteki(kFunkcje[id].biblioteka))
                    .arg(ustawienia.granicaWywolaniaMs / 1000)};
    case ProcesMostu::Stan::Zakonczony:
        return {kKodAwariaBiblioteki,
                QStringLiteral("Program pośredniczący zakończył się w trakcie funkcji %1 (%2); "
                               "szczegóły w pliku %3.")
                    .arg(nazwaFunkcji(id), QString::fromStdString(o.zakonczenie),
                         ustawienia.dziennik())};
    case ProcesMostu::Stan::Ok:
    case ProcesMostu::Stan::Blad:
        break;
    }
    switch (o.blad) {
    case Blad::Zaladowanie:
        return {kKodZlaBiblioteka, QStringLiteral("Nie można załadować biblioteki %1: %2.")
                                       .arg(plik, opisBleduWindows(o.szczegol))};
    case Blad::BrakFunkcji:
        return {kKodZlaBiblioteka,
                QStringLiteral("Biblioteka %1 nie ma funkcji %2.").arg(plik, funkcja)};
    case Blad::Konwencja:
        return {kKodZlaBiblioteka,
                QStringLiteral("Funkcja %1 biblioteki %2 zdjęła ze stosu %3 B argumentów zamiast "
                               "%4 B: ma inną konwencję wywołania niż biblioteka producenta.")
                    .arg(funkcja, plik)
                    .arg(o.szczegol)
                    .arg(kFunkcje[o.funkcja % kLiczbaFunkcji].konwencja == Konwencja::Stdcall
                             ? 4 * std::strlen(kFunkcje[o.funkcja % kLiczbaFunkcji].argumenty)
                             : 0)};
    case Blad::Awaria:
        break;
    }
    return {kKodAwariaBiblioteki,
            funkcja.isEmpty()
                ? QStringLiteral("Biblioteka %1: %2.").arg(plik, opisWyjatku(o.szczegol))
                : QStringLiteral("Biblioteka %1, funkcja %2: %3.")
                      .arg(plik, funkcja, opisWyjatku(o.szczegol))};
}
