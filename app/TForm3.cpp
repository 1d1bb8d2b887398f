#include "app/TForm3.h"

#include <QComboBox>
#include <QDialog>
#include <QShowEvent>
#include <QStringListModel>

#include "core/Dialogi.h"
#include "keys/PanelKlawisza.h"
#include "keys/StanProgramu.h"
#include "overlay/KontrolerWkladki.h"
#include "ui_TForm3.h"

namespace {

QFont czcionkaPiksele(const QString& rodzina, int piksele) {
    QFont f(rodzina);
    f.setPixelSize(piksele);
    return f;
}

} // namespace

TForm3::TForm3(StanProgramu& stan, Dialogi& dialogi, QWidget* rodzic)
    : QWidget(rodzic), ui(new Ui::TForm3), m_stan(stan), m_dialogi(dialogi) {
    // The window's face is set before its controls exist, so that they are laid out once.
    ustawCzcionkeOkna();
    ui->setupUi(this);
    setFixedSize(size());
    ustawCzcionkiKontrolek();
    ustawListeTowarow(goleTowary());

    WidokPanelu p;
    p.okno = this;
    p.iWkladka = ui->iWkladka;
    p.rgAlty = ui->rgAlty;
    p.rgDefinicja = ui->rgDefinicja;
    p.cbTowary = ui->cbTowary;
    p.cbFunkcja = ui->cbFunkcja;
    p.cbPlatnosc = ui->cbPlatnosc;
    p.cbWaluta = ui->cbWaluta;
    p.cbRabatNarzut = ui->cbRabatNarzut;
    p.cbRodzaj = ui->cbRodzaj;
    p.cbPojedynczo = ui->cbPojedynczo;
    p.cbZaplata = ui->cbZaplata;
    p.cbParagon = ui->cbParagon;
    p.Label2 = ui->Label2;
    p.Label3 = ui->Label3;
    p.Label4 = ui->Label4;
    p.Label5 = ui->Label5;
    p.Klawisz = ui->Klawisz;
    p.lKlawisz = ui->lKlawisz;
    p.Edit10 = ui->Edit10;
    p.Button5 = ui->Button5;
    p.pierwszeLinie = {ui->edit0, ui->Edit1, ui->Edit2, ui->Edit3, ui->Edit4,
                       ui->Edit5, ui->Edit6, ui->Edit7, ui->Edit8};
    p.drugieLinie = {ui->edit0a, ui->Edit1a, ui->Edit2a, ui->Edit3a, ui->Edit4a};
    m_panel = std::make_unique<PanelKlawisza>(p, stan, dialogi);

    WidokWkladki w;
    w.okno = this;
    w.iWkladka = ui->iWkladka;
    w.rgAlty = ui->rgAlty;
    w.Typkasy = ui->Typkasy;
    w.edity = {ui->edit0,  ui->edit0a, ui->Edit1,  ui->Edit1a, ui->Edit2, ui->Edit2a, ui->Edit3,
               ui->Edit3a, ui->Edit4,  ui->Edit4a, ui->Edit5,  ui->Edit6, ui->Edit7,  ui->Edit8};
    w.cbFunkcja = ui->cbFunkcja;
    w.cbPlatnosc = ui->cbPlatnosc;
    w.cbWaluta = ui->cbWaluta;
    w.Button2 = ui->Button2;
    w.Button1 = ui->Button1;
    w.bbDrukuj = ui->bbDrukuj;
    w.BitBtnOdczyt = ui->BitBtnOdczyt;
    w.BitBtn1 = ui->BitBtn1;
    w.bCzcionka = ui->bCzcionka;
    m_wkladka = std::make_unique<KontrolerWkladki>(w, stan, dialogi);

    m_panel->poZatwierdzeniu = [this] { m_wkladka->WypelnijNapisy(false); };
    m_wkladka->wybierzKlawisz0 = [this] { m_panel->wybierzKlawisz0(); };

    connect(ui->Button4, &QPushButton::clicked, this, &TForm3::Button4Click);

    FormCreate();
}

TForm3::~TForm3() {
    // The controllers hold pointers into the form: they go first.
    m_panel.reset();
    m_wkladka.reset();
    delete ui;
}

void TForm3::ustawCzcionkeOkna() {
    // The forms are laid out for a narrow bitmap sans serif face; of the faces this system
    // has, the one with Arial's metrics keeps the captions inside their controls.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    setFont(czcionkaPiksele(QStringLiteral("MS Sans Serif"), 12));
}

void TForm3::ustawCzcionkiKontrolek() {
    ui->rgAlty->setFont(czcionkaPiksele(QStringLiteral("Arial"), 11));
    ui->Klawisz->setFont(czcionkaPiksele(QStringLiteral("MS Sans Serif"), 17));
    ui->StaticText2->setFont(czcionkaPiksele(QStringLiteral("MS Sans Serif"), 13));
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
        // width is set from a fixed content length instead.
        ui->cbTowary->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        ui->cbTowary->setMinimumContentsLength(20);
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

void TForm3::FormShow() {
    m_wkladka->TypkasyClick();
}

void TForm3::Button4Click() {
    if (m_oknoKomunik)
        m_oknoKomunik->exec();
}
