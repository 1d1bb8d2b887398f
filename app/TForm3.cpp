#include "app/TForm3.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QShowEvent>
#include <QStringListModel>
#include <QStyleOptionComboBox>

#include "app/TAplikacja.h"
#include "app/WidokiFormy.h"
#include "app/ZmianyOkna.h"
#include "core/BladProgramu.h"
#include "core/okno/CzcionkiFormularzy.h"
#include "core/okno/Dialogi.h"
#include "core/okno/PrzyPokazaniu.h"
#include "core/okno/TRadioGroup.h"
#include "keys/StanProgramu.h"
#include "keys/okno/PanelKlawisza.h"
#include "keys/okno/SzukajTowaru.h"
#include "keys/okno/ZnacznikKlawisza.h"
#include "overlay/NapisyKlawiszy.h"
#include "overlay/okno/KontrolerWkladki.h"
#include "transfer/okno/DefinicjeKlawiszy.h"
#include "transfer/okno/ImportStartowy.h"
#include "ui_TForm3.h"

namespace {

// A list's face condensed so that its longest entry fits the box's text field.
void dopasujCzcionkeListy(QComboBox& lista) {
    QStyleOptionComboBox o;
    o.initFrom(&lista);
    const QRect pole = lista.style()->subControlRect(QStyle::CC_ComboBox, &o,
                                                     QStyle::SC_ComboBoxEditField, &lista);
    QStringList pozycje;
    for (int i = 0; i < lista.count(); ++i)
        pozycje << lista.itemText(i);
    lista.setFont(czcionkaMieszczaca(lista.font(), pozycje, pole.width()));
}

} // namespace

TForm3::TForm3(StanProgramu& stan, Dialogi& dialogi, QWidget* rodzic)
    : QWidget(rodzic), ui(new Ui::TForm3), m_stan(stan), m_dialogi(dialogi) {
    // The window's face is set before its controls exist, so that they are laid out once.
    ustawCzcionkeOkna();
    ui->setupUi(this);
    setFixedSize(size());
    ustawCzcionkiKontrolek();
    ustawNazwyDostepnosci();
    ustawListeTowarow(goleTowary());

    m_panel = std::make_unique<PanelKlawisza>(widokPanelu(this, *ui), stan, dialogi);
    m_znacznik = new ZnacznikKlawisza(widokPanelu(this, *ui), *m_panel);
    m_szukaj = std::make_unique<SzukajTowaru>(ui->cbTowary, this);

    m_wkladka = std::make_unique<KontrolerWkladki>(widokWkladki(this, *ui), stan, dialogi);
    // After every text field of the window exists: it watches them all for Ctrl+Z.
    m_zmiany = std::make_unique<ZmianyOkna>(this, stan, *m_panel, *m_wkladka, dialogi);

    m_panel->poZatwierdzeniu = [this] {
        m_wkladka->WypelnijNapisy(false);
        m_zmiany->zmiana();
    };
    m_wkladka->wybierzKlawisz0 = [this] { m_panel->wybierzKlawisz0(); };
    m_wkladka->poUkladzieDomyslnym = [this] { m_zmiany->zmiana(); };
    m_wkladka->poOdczycieNapisow = [this] { m_zmiany->wczytanoNapisy(); };
    m_wkladka->poZapisieNapisow = [this] { m_zmiany->zapisanoNapisy(); };
    ustawMnemoniki();

    connect(ui->Button4, &QPushButton::clicked, this, chronione([this] { Button4Click(); }));
    // The shared handlers tell their two buttons apart by the sender's name.
    for (QPushButton* b : {ui->bOdczyt, ui->bOdczytPlik})
        connect(b, &QPushButton::clicked, this, chronione([this, b] {
                    if (m_definicje)
                        m_definicje->bOdczytClick(b->objectName());
                }));
    for (QPushButton* b : {ui->bZapis, ui->bZapisPlik})
        connect(b, &QPushButton::clicked, this, chronione([this, b] {
                    if (m_definicje)
                        m_definicje->bZapisClick(b->objectName());
                }));
    connect(ui->bKasowanie, &QPushButton::clicked, this, chronione([this] {
                if (m_definicje)
                    m_definicje->bKasowanieClick();
            }));

    try {
        FormCreate();
    } catch (const std::exception& e) {
        TAplikacja::zglosBladStartu(e);
    }
}

TForm3::~TForm3() {
    // The controllers hold pointers into the form: they go first, the ones that watch the
    // others' work before those.
    m_zmiany.reset();
    m_szukaj.reset();
    delete m_znacznik;
    m_definicje.reset();
    m_panel.reset();
    m_wkladka.reset();
    delete ui;
}

void TForm3::ustawKomunikacje(std::function<QDialog*()> oknoKomunik, LaczeKasy& lacze) {
    m_oknoKomunik = std::move(oknoKomunik);
    m_lacze = &lacze;
    WidokDefinicji w;
    w.okno = this;
    w.otworzOknoKomunik = [this] { Button4Click(); };
    w.ustawWarstwe = [this](int warstwa) { ui->rgAlty->setItemIndex(warstwa); };
    w.wybierzKlawisz0 = [this] { m_panel->wybierzKlawisz0(); };
    w.wypelnijNapisy = [this] { m_wkladka->WypelnijNapisy(true); };
    w.wczytano = [this] { m_zmiany->wczytanoDefinicje(); };
    w.zapisano = [this] { m_zmiany->zapisanoDefinicje(); };
    m_definicje = std::make_unique<DefinicjeKlawiszy>(w, m_stan, m_dialogi, lacze);
}

void TForm3::importStartowy() {
    if (!m_lacze)
        return;
    WidokImportu w;
    w.okno = this;
    w.otworzOknoKomunik = [this] { Button4Click(); };
    w.odswiez = [this] { repaint(); };
    // As a click on "Odczyt z kasy" would, with the button's own name.
    w.odczytajDefinicje = [this] { m_definicje->bOdczytClick(ui->bOdczyt->objectName()); };
    w.ustawTowary = [this](const QStringList& pozycje) { ustawListeTowarow(pozycje); };
    w.ustawPlatnosc = [this](int i, const QString& t) { ui->cbPlatnosc->setItemText(i, t); };
    w.ustawWalute = [this](int i, const QString& t) { ui->cbWaluta->setItemText(i, t); };
    ImportStartowy(w, m_stan, m_dialogi, *m_lacze);
}

void TForm3::ustawNazwyDostepnosci() {
    // Controls without a caption of their own are told apart by a screen reader only by these.
    setAccessibleName(windowTitle());
    ui->rgAlty->setAccessibleName(QStringLiteral("Warstwa klawiszy Alt"));
    const WidokWkladki w = widokWkladki(this, *ui);
    for (int k = 0; k < 9; ++k) {
        // Keys 5 to 8 carry their left-Alt and right-Alt characters.
        const QString klawisz = k < 5 ? nazwaKlawisza(WarstwaBezposrednio, k)
                                      : nazwaKlawisza(WarstwaLewyAlt, k) + QLatin1Char('/') +
                                            nazwaKlawisza(WarstwaPrawyAlt, k);
        w.edity[indeksNapisu(k)]->setAccessibleName(QStringLiteral("Napis klawisza ") + klawisz);
        if (k < 5)
            w.edity[indeksNapisu(k, 1)]->setAccessibleName(
                QStringLiteral("Napis klawisza ") + klawisz + QStringLiteral(", druga linia"));
    }
}

void TForm3::ustawMnemoniki() {
    // Alt and the letter clicks the button. Each is a letter its caption already has, so the
    // caption reads as before with that letter underlined; no two buttons share one.
    const std::pair<QPushButton*, QChar> litery[] = {
        {ui->Button5, u't'},      {ui->bOdczyt, u'O'},    {ui->bZapis, u'Z'},
        {ui->Button4, u'P'},      {ui->bKasowanie, u'K'}, {ui->bOdczytPlik, u'l'},
        {ui->bZapisPlik, u'i'},   {ui->Button2, u'E'},    {ui->bbDrukuj, u'W'},
        {ui->BitBtnOdczyt, u'd'}, {ui->BitBtn1, u'a'},    {ui->bCzcionka, u'C'},
        {ui->Button1, u'U'},
    };
    for (const auto& [przycisk, litera] : litery) {
        QString napis = przycisk->text();
        napis.insert(napis.indexOf(litera), QLatin1Char('&'));
        przycisk->setText(napis);
    }
}

void TForm3::ustawCzcionkeOkna() {
    setFont(czcionkaFormularza(12));
}

void TForm3::ustawCzcionkiKontrolek() {
    ui->rgAlty->setFont(czcionkaFormularza(11, QStringLiteral("Arial")));
    ui->Klawisz->setFont(czcionkaFormularza(17));
    ui->StaticText2->setFont(czcionkaFormularza(13));
    // The fixed lists' longest entries are a little wider in the stand-in face than the
    // field of their box. The lists are hidden at start: each is fitted when first shown.
    for (QComboBox* lista : {ui->cbFunkcja, ui->cbRabatNarzut, ui->cbRodzaj})
        przyPierwszymPokazaniu(lista, [lista] { dopasujCzcionkeListy(*lista); });
}

QStringList TForm3::goleTowary() {
    static const QStringList pozycje = [] {
        QStringList p;
        p.reserve(StanProgramu::kLiczbaTowarow);
        for (int plu = 1; plu <= StanProgramu::kLiczbaTowarow; ++plu)
            p << QString::number(plu).rightJustified(3, QLatin1Char('0')) + QLatin1Char(' ');
        return p;
    }();
    return pozycje;
}

void TForm3::ustawListeTowarow(const QStringList& pozycje) {
    // Thousands of items go into a plain string list in one step; the combo box's own item
    // model would build an object per item.
    auto* model = qobject_cast<QStringListModel*>(ui->cbTowary->model());
    if (!model) {
        model = new QStringListModel(ui->cbTowary);
        ui->cbTowary->setModel(model);
        // A long list measured item by item costs tens of milliseconds when shown; the popup
        // width is set from a fixed content length instead. Set when the list is first shown:
        // setting it builds the list's popup, which the first screen does not show.
        QComboBox* lista = ui->cbTowary;
        przyPierwszymPokazaniu(lista, [lista] {
            lista->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        });
        lista->setMinimumContentsLength(20);
    }
    model->setStringList(pozycje);
    ui->cbTowary->setCurrentIndex(pozycje.isEmpty() ? -1 : 0);
}

void TForm3::FormCreate() {
    ui->cbPlatnosc->setCurrentIndex(0);
    ui->cbFunkcja->setCurrentIndex(0);
    m_panel->wybierzKlawisz0();
}

void TForm3::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!e->spontaneous())
        FormShow();
}

void TForm3::closeEvent(QCloseEvent* e) {
    // "Tak" in the error report ends the program as it says, without a second question.
    const auto* aplikacja = qobject_cast<TAplikacja*>(QCoreApplication::instance());
    if ((!aplikacja || !aplikacja->zakonczenieWybrane()) && !m_zmiany->moznaZamknac()) {
        e->ignore();
        return;
    }
    QWidget::closeEvent(e);
}

void TForm3::FormShow() {
    m_wkladka->TypkasyClick();
}

void TForm3::Button4Click() {
    if (QDialog* d = m_oknoKomunik ? m_oknoKomunik() : nullptr)
        d->exec();
}
