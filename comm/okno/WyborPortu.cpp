#include "comm/okno/WyborPortu.h"

#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QSpinBox>
#include <QToolButton>

#include "core/BladProgramu.h"
#include "core/okno/Dialogi.h"
#include "transfer/okno/PokazBlad.h"

namespace {
const QString kFolderRoboczy = QStringLiteral(".");
}

WyborPortu::WyborPortu(QSpinBox* port, QToolButton* przycisk, QLabel* opis, Dialogi& dialogi,
                       Lista lista, QObject* rodzic)
    : QObject(rodzic), m_port(port), m_opis(opis), m_menu(new QMenu(przycisk)), m_dialogi(dialogi),
      m_lista(std::move(lista)) {
    przycisk->setMenu(m_menu);
    przycisk->setPopupMode(QToolButton::InstantPopup);
    connect(m_menu, &QMenu::aboutToShow, this, chronione([this] { wypelnijMenu(); }));
    connect(m_port, &QSpinBox::valueChanged, this, chronione([this] { odswiezOpis(); }));
    // The link may have changed while the dialog was hidden (an emulator started, say).
    przycisk->window()->installEventFilter(this);
    odswiezOpis();
}

bool WyborPortu::eventFilter(QObject* obiekt, QEvent* zdarzenie) {
    if (zdarzenie->type() == QEvent::Show)
        odswiezOpis();
    return QObject::eventFilter(obiekt, zdarzenie);
}

void WyborPortu::odswiezOpis() {
    const QString tekst = OpisPortu(kFolderRoboczy, m_port->value());
    // A by-id name is long; its end, which tells adapters apart, stays in the tooltip.
    m_opis->setText(
        m_opis->fontMetrics().elidedText(tekst, Qt::ElideMiddle, m_opis->contentsRect().width()));
    m_opis->setToolTip(tekst);
}

void WyborPortu::wypelnijMenu() {
    m_menu->clear();
    const std::vector<UrzadzenieSzeregowe> urzadzenia = m_lista();
    if (urzadzenia.empty())
        m_menu->addAction(QStringLiteral("Nie znaleziono portów szeregowych"))->setEnabled(false);
    for (const UrzadzenieSzeregowe& u : urzadzenia) {
        const QString sciezka = u.sciezka;
        connect(m_menu->addAction(u.opis), &QAction::triggered, this,
                chronione([this, sciezka] { wybierz(sciezka); }));
    }
    m_menu->addSeparator();
    connect(m_menu->addAction(QStringLiteral("Inne urządzenie...")), &QAction::triggered, this,
            chronione([this] { wybierzInne(); }));
}

bool WyborPortu::wybierz(const QString& urzadzenie) {
    const QString powod = DowiazPort(kFolderRoboczy, m_port->value(), urzadzenie);
    odswiezOpis();
    if (powod.isEmpty())
        return true;
    m_dialogi.blad(m_opis->window(), kTytulBledu, powod);
    return false;
}

void WyborPortu::wybierzInne() {
    Dialogi::WyborPliku w;
    w.tytul = QStringLiteral("Urządzenie portu %1").arg(m_port->value());
    w.katalog = QStringLiteral("/dev");
    w.filtr = QStringLiteral("Wszystkie pliki|*");
    w.urzadzenia = true;
    if (const std::optional<QString> plik = m_dialogi.otworzPlik(m_opis->window(), w))
        wybierz(*plik);
}
