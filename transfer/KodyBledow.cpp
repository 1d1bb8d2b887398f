#include "transfer/KodyBledow.h"

namespace {

// Codes 7 and 13 to 16 and 22 send the user to the communication dialog.
#define PIXO_USTAW_PONOWNIE                                                                        \
    "\rNaciśnij przycisk \"POŁĄCZENIE\" i ustaw ponownie parametry komunikacji"

const char* tekstKodu(std::uint8_t kod) {
    switch (kod) {
    case 1:
    case 2:
        return "Zastrzeżona nazwa pliku wejściowego.";
    case 3:
        return "Brak nazwy pliku wyjściowego.";
    case 4:
        return "Zastrzeżona nazwa pliku wyjściowego.";
    case 5:
        return "Jednakowe nazwy plików wejściowego i wyjściowego.";
    case 6:
        return "Nie można otworzyć pliku wejściowego.";
    case 7:
        return "Nie można otworzyć pliku konfiguracji." PIXO_USTAW_PONOWNIE;
    case 8:
        return "Nie można otworzyć pliku wyjściowego.";
    case 9:
        return "Nie można otworzyć pliku raportu.";
    case 10:
        return "Niekompletne dane w pliku wejściowym.";
    case 11:
        return "Niepoprawny format pliku wejściowego.";
    case 12:
        return "Niepoprawne dane w pliku wejściowym.";
    case 13:
        return "Niekompletne dane w pliku konfiguracji." PIXO_USTAW_PONOWNIE;
    case 14:
        return "Brak skojarzenia w pliku konfiguracji." PIXO_USTAW_PONOWNIE;
    case 15:
        return "Niepoprawne dane w pliku konfiguracji." PIXO_USTAW_PONOWNIE;
    case 16:
        return "Niepoprawny format pliku konfiguracji." PIXO_USTAW_PONOWNIE;
    case 17:
        return "Niemożliwy zapis do pliku wyjściowego.";
    case 18:
        return "Niemożliwy zapis do pliku raportu.";
    case 19:
        return "Numer kasy poza zakresem.";
    case 20:
        return "Wystąpił timeout nadawania.\r"
               "Możliwe przyczyny błędu: \r"
               "- kasa nie jest podłączona do komputera,\r"
               "- kasa nie jest włączona,\r"
               "- kasa jest podłączona do innego portu szeregowego\r"
               "  niż wybrany w programie tastrum.";
    case 21:
        return "Wystąpił timeout odbierania. \r"
               "Możliwe przyczyny błędu: \r"
               "- kasa nie jest podłączona do komputera,\r"
               "- kasa nie jest włączona,\r"
               "- kasa jest podłączona do innego portu szeregowego\r"
               "  niż wybrany w programie tastrum,\r"
               "- w kasie jest wybrana inna szybkość transmisji\r"
               "  niż w programie tastrum.";
    case 22:
        return "Pod podanym skojarzeniem kasa o innym numerze." PIXO_USTAW_PONOWNIE;
    case 23:
        return "Niepoprawna odpowiedź z kasy.";
    case 24:
        return "Odpowiedź z kasy : NAK.";
    case 25:
        return "Rozkaz niedostepny w tej wersji programu kasy.";
    case 62:
        return "Nie można otworzyć portu szeregowego";
    case 101:
        return "Pamięć została skasowana. Ustaw zegar programem serwisowym Nadzor.exe";
    case 102:
        return "Błąd w nazwie towaru.";
    case 103:
        return "Błąd w stawce podatkowej towaru";
    case 104:
        return "Brak miejsca na opakowanie.";
    case 105:
        return "Błędny numer towaru.";
    case 107:
        return "Brak miejsca na towary wiązane.";
    case 108:
        return "Za duży kod kreskowy.";
    case 109:
        return "Za duża cena.";
    case 110:
        return "Numer grupy towarowej poza zakresem.";
    case 111:
        return "Numer jednostki towarowej poza zakresem.";
    case 112:
        return "Błędna ilość miejsc po przecinku.";
    case 113:
        return "Błąd w informacji o blokadzie towaru.";
    case 114:
        return "Błąd w informacji o opakowaniu.";
    case 115:
        return "Numer płatności poza zakresem.";
    case 200:
        return "Nowa nazwa lub stawka dla towaru.";
    case 201:
        return "Nie wszystkie dane zostały przeczytane.";
    case 202:
        return "Pod podanym numerem towaru brak danych.";
    case 203:
        return "Numer kasjera poza zakresem.";
    case 204:
        return "Pod podanym numerem brak danych kasjera.";
    case 205:
        return "Kasjer ma otwartą zmianę.";
    case 206:
        return "W danych tekstowych wystąpił błędny kod.";
    case 207:
        return "Rabat poza zakresem.";
    case 208:
        return "Parametr poza zakresem.";
    case 209:
        return "Towar posiada niezerowe stany sprzedaży lub zwrotów.";
    case 210:
        return "Ilość wysuwów poza zakresem.";
    case 211:
        return "Należy ustawić opcję PROGRAM SERWISU Z PC.";
    case 228:
        return "Klawisz nie może być definiowany i odczytywany";
    case 229:
        return "Brak miejsca na kwoty dla płatnosci z klawisza";
    // The way to the maker's DLLs through Wine (BibliotekiWine.h); the particulars follow on
    // a line of their own.
    case 240:
        return "Biblioteki producenta kasy (Kavrel.dll, Sevrin.dll) działają tylko przez "
               "program Wine, który nie jest zainstalowany.";
    case 241:
        return "Nie można uruchomić bibliotek producenta kasy przez Wine.";
    case 242:
        return "Biblioteka producenta kasy nie nadaje się do użycia.";
    case 243:
        return "Biblioteka producenta kasy uległa awarii w trakcie operacji; jej wynik w kasie "
               "jest nieznany, pliki sprzed operacji zostały bez zmian.\r"
               "Następna operacja uruchomi biblioteki od nowa.";
    case 244:
        return "Biblioteka producenta kasy nie zakończyła operacji w wyznaczonym czasie i została "
               "zatrzymana; pliki sprzed operacji zostały bez zmian.\r"
               "Następna operacja uruchomi biblioteki od nowa.";
    default:
        return "";
    }
}

#undef PIXO_USTAW_PONOWNIE

} // namespace

QString TekstBledu(std::uint8_t kod) {
    return QString::fromUtf8(tekstKodu(kod));
}

std::uint8_t KodZeStatusu(std::uint8_t status) {
    if (status & 0x40)
        return 255;
    const std::uint8_t s = status & 0x3F;
    if (s <= 25)
        return s;
    if (s <= 30)
        return s + 75;
    if (s <= 39)
        return s + 76;
    if (s <= 50)
        return s + 160;
    if (s == 63)
        return 211;
    return 255;
}
