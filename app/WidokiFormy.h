#pragma once
// The main window form's controls as the key panel and the overlay controller see them. A
// template over the generated form class, so that a test building the bare form from the same
// .ui file hands the controllers exactly what the window hands them.

#include "keys/okno/PanelKlawisza.h"
#include "overlay/okno/WidokWkladki.h"

template <typename Forma> WidokPanelu widokPanelu(QWidget* okno, Forma& ui) {
    WidokPanelu p;
    p.okno = okno;
    p.iWkladka = ui.iWkladka;
    p.rgAlty = ui.rgAlty;
    p.rgDefinicja = ui.rgDefinicja;
    p.cbTowary = ui.cbTowary;
    p.cbFunkcja = ui.cbFunkcja;
    p.cbPlatnosc = ui.cbPlatnosc;
    p.cbWaluta = ui.cbWaluta;
    p.cbRabatNarzut = ui.cbRabatNarzut;
    p.cbRodzaj = ui.cbRodzaj;
    p.cbPojedynczo = ui.cbPojedynczo;
    p.cbZaplata = ui.cbZaplata;
    p.cbParagon = ui.cbParagon;
    p.Label2 = ui.Label2;
    p.Label3 = ui.Label3;
    p.Label4 = ui.Label4;
    p.Label5 = ui.Label5;
    p.Klawisz = ui.Klawisz;
    p.lKlawisz = ui.lKlawisz;
    p.Edit10 = ui.Edit10;
    p.Button5 = ui.Button5;
    p.pierwszeLinie = {ui.edit0, ui.Edit1, ui.Edit2, ui.Edit3, ui.Edit4,
                       ui.Edit5, ui.Edit6, ui.Edit7, ui.Edit8};
    p.drugieLinie = {ui.edit0a, ui.Edit1a, ui.Edit2a, ui.Edit3a, ui.Edit4a};
    return p;
}

template <typename Forma> WidokWkladki widokWkladki(QWidget* okno, Forma& ui) {
    WidokWkladki w;
    w.okno = okno;
    w.iWkladka = ui.iWkladka;
    w.rgAlty = ui.rgAlty;
    w.Typkasy = ui.Typkasy;
    w.edity = {ui.edit0,  ui.edit0a, ui.Edit1,  ui.Edit1a, ui.Edit2, ui.Edit2a, ui.Edit3,
               ui.Edit3a, ui.Edit4,  ui.Edit4a, ui.Edit5,  ui.Edit6, ui.Edit7,  ui.Edit8};
    w.cbFunkcja = ui.cbFunkcja;
    w.cbPlatnosc = ui.cbPlatnosc;
    w.cbWaluta = ui.cbWaluta;
    w.Button2 = ui.Button2;
    w.Button1 = ui.Button1;
    w.bbDrukuj = ui.bbDrukuj;
    w.BitBtnOdczyt = ui.BitBtnOdczyt;
    w.BitBtn1 = ui.BitBtn1;
    w.bCzcionka = ui.bCzcionka;
    return w;
}
