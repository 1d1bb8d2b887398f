#include "keys/okno/UkladPanelu.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QPushButton>
#include <algorithm>

#include "core/okno/TRadioGroup.h"
#include "keys/Kwoty.h"
#include "keys/okno/PanelKlawisza.h"

namespace {

constexpr int kLiczbaWariantow = 4;

void wybierzPierwszyGdyBrak(QComboBox* lista) {
    if (lista->currentIndex() < 0 && lista->count() > 0)
        lista->setCurrentIndex(0);
}

} // namespace

int numerWpisu(const QComboBox* lista, int najwiekszy) {
    return std::clamp(lista->currentIndex() + 1, 1, najwiekszy);
}

void pokazUkladRodzaju(const WidokPanelu& w, int rodzaj) {
    QList<QWidget*> pokazane;
    switch (rodzaj) {
    case RodzajTowar:
        pokazane = {w.cbTowary, w.cbPojedynczo, w.cbParagon, w.cbZaplata};
        break;
    case RodzajFunkcja:
        pokazane = {w.Label2, w.cbFunkcja};
        break;
    case RodzajPlatnosc:
        pokazane = {w.Label3, w.cbPlatnosc, w.Label4, w.Edit10, w.Label5};
        break;
    case RodzajWaluta:
        pokazane = {w.Label3, w.cbWaluta, w.Label4, w.Edit10};
        break;
    case RodzajRabatNarzut:
        pokazane = {w.cbRabatNarzut, w.Edit10, w.Label4, w.cbRodzaj};
        break;
    default:
        break;
    }
    const QList<QWidget*> wszystkie = {w.cbTowary, w.cbPojedynczo,  w.cbZaplata, w.cbParagon,
                                       w.Label2,   w.cbFunkcja,     w.Label3,    w.cbPlatnosc,
                                       w.cbWaluta, w.cbRabatNarzut, w.Label4,    w.Edit10,
                                       w.Label5,   w.cbRodzaj};
    for (QWidget* c : wszystkie)
        if (!pokazane.contains(c))
            ukryjKontrolke(c);

    switch (rodzaj) {
    case RodzajTowar:
        wybierzPierwszyGdyBrak(w.cbTowary);
        w.Label4->setText(QStringLiteral("Kwota"));
        break;
    case RodzajFunkcja:
        w.Label4->setText(QStringLiteral("Kwota"));
        break;
    case RodzajPlatnosc:
        w.Label3->setText(QStringLiteral("Płatność:"));
        w.Label4->setText(QStringLiteral("Kwota"));
        w.Edit10->setText(QStringLiteral("0"));
        break;
    case RodzajWaluta:
        wybierzPierwszyGdyBrak(w.cbWaluta);
        w.Label3->setText(QStringLiteral("Waluta:"));
        w.Label4->setText(QStringLiteral("Kwota"));
        w.Edit10->setText(QStringLiteral("0"));
        break;
    case RodzajRabatNarzut:
        wybierzPierwszyGdyBrak(w.cbRabatNarzut);
        wybierzPierwszyGdyBrak(w.cbRodzaj);
        ustawEtykieteWartosci(w);
        w.Edit10->setText(QStringLiteral("0"));
        break;
    default:
        w.Label4->setText(QStringLiteral("Kwota"));
        break;
    }
    for (QWidget* c : pokazane)
        c->show();

    switch (rodzaj) {
    case RodzajTowar:
        skupNa(w.cbTowary);
        break;
    case RodzajFunkcja:
        skupNa(w.cbFunkcja);
        break;
    case RodzajPlatnosc:
        skupNa(w.cbPlatnosc);
        break;
    case RodzajWaluta:
        skupNa(w.cbWaluta);
        break;
    default:
        break;
    }
}

void pokazRekord(const WidokPanelu& w, const TDefKlawisza& def) {
    // A kind outside the six (from a foreign file) shows as undefined.
    const int rodzaj =
        def.Rodzaj <= RodzajRabatNarzut ? int(def.Rodzaj) : int(RodzajNiezdefiniowany);
    w.rgDefinicja->setItemIndex(rodzaj);
    switch (rodzaj) {
    case RodzajNiezdefiniowany:
        ukryjKontrolke(w.Label5);
        break;
    case RodzajTowar:
        w.cbTowary->setCurrentIndex(def.PLU - 1);
        w.cbTowary->show();
        w.cbPojedynczo->setChecked(def.Pojedynczo != 0);
        w.cbZaplata->setChecked(def.Zaplata != 0);
        w.cbParagon->setChecked(def.Paragon != 0);
        w.cbPojedynczo->show();
        w.cbZaplata->show();
        w.cbParagon->show();
        ukryjKontrolke(w.Label5);
        break;
    case RodzajFunkcja:
        w.cbFunkcja->setCurrentIndex(def.Numer - 1);
        w.cbFunkcja->show();
        w.Label2->show();
        ukryjKontrolke(w.Label5);
        break;
    case RodzajPlatnosc:
        w.cbPlatnosc->setCurrentIndex(def.Numer - 1);
        w.cbPlatnosc->show();
        w.Label3->show();
        w.Label5->show();
        w.Edit10->setText(FormatujKwote(QString::number(def.Kwota)));
        w.Label4->show();
        break;
    case RodzajWaluta:
        w.cbWaluta->setCurrentIndex(def.Numer - 1);
        w.cbWaluta->show();
        w.Label3->show();
        ukryjKontrolke(w.Label5);
        w.Edit10->setText(FormatujKwote(QString::number(def.Kwota)));
        w.Label4->show();
        break;
    case RodzajRabatNarzut:
        w.rgDefinicja->setItemIndex(RodzajRabatNarzut);
        w.rgDefinicja->show();
        w.cbRabatNarzut->setCurrentIndex(def.Numer - 1);
        w.cbRodzaj->setCurrentIndex(def.Zakres - 1);
        ustawEtykieteWartosci(w);
        // A percent is a plain whole number; amounts are shown in hundredths.
        w.Edit10->setText(def.Numer == 3 || def.Numer == 4
                              ? FormatujKwote(QString::number(def.Wartosc))
                              : QString::number(def.Wartosc));
        w.Label4->show();
        break;
    }
}

void czyscPanel(const WidokPanelu& w) {
    w.rgDefinicja->setItemIndex(RodzajNiezdefiniowany);
    w.cbTowary->setCurrentIndex(0);
    ukryjKontrolke(w.cbTowary);
    for (QCheckBox* c : {w.cbPojedynczo, w.cbZaplata, w.cbParagon}) {
        c->setChecked(false);
        ukryjKontrolke(c);
    }
    w.cbPlatnosc->setCurrentIndex(0);
    w.cbFunkcja->setCurrentIndex(0);
    ukryjKontrolke(w.cbPlatnosc);
    ukryjKontrolke(w.cbFunkcja);
    ukryjKontrolke(w.Label2);
    ukryjKontrolke(w.Label3);
    ukryjKontrolke(w.Label4);
}

int wariantRabatu(const WidokPanelu& w) {
    return numerWpisu(w.cbRabatNarzut, kLiczbaWariantow);
}

void ustawEtykieteWartosci(const WidokPanelu& w) {
    w.Label4->setText(wariantRabatu(w) <= 2 ? QStringLiteral("Procent") : QStringLiteral("Kwota"));
}

void ukryjKontrolke(QWidget* kontrolka) {
    QWidget* f = kontrolka->window()->focusWidget();
    if (f && (f == kontrolka || kontrolka->isAncestorOf(f)))
        f->clearFocus();
    kontrolka->hide();
}

void skupNa(QWidget* kontrolka) {
    kontrolka->setFocus(Qt::OtherFocusReason);
}
