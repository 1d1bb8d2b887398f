#include "app/ZmianyOkna.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>
#include <QWidget>

#include "core/BladProgramu.h"
#include "core/okno/Dialogi.h"
#include "keys/StanProgramu.h"
#include "keys/okno/PanelKlawisza.h"
#include "overlay/okno/KontrolerWkladki.h"

namespace {

const QString kNiezapisaneDefinicje =
    QStringLiteral("Zmienionych definicji klawiszy nie zapisano ani do pliku, ani do kasy.");
const QString kNiezapisaneNapisy =
    QStringLiteral("Zmienionych napisów na klawiszach nie zapisano do pliku.");
const QString kCzyZakonczyc = QStringLiteral("Czy mimo to zakończyć program?");

bool klawiszCofania(const QKeyEvent* k) {
    return k->key() == Qt::Key_Z && k->modifiers() == Qt::ControlModifier;
}

} // namespace

ZmianyOkna::ZmianyOkna(QWidget* okno, StanProgramu& stan, PanelKlawisza& panel,
                       KontrolerWkladki& wkladka, Dialogi& dialogi)
    : m_okno(okno), m_stan(stan), m_panel(panel), m_wkladka(wkladka), m_dialogi(dialogi),
      m_historia(stanOkna()) {
    auto* skrot = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), okno);
    skrot->setContext(Qt::WindowShortcut);
    connect(skrot, &QShortcut::activated, this, chronione([this] { cofnij(); }));
    for (QLineEdit* e : okno->findChildren<QLineEdit*>()) {
        e->installEventFilter(this);
        // A label typed is one change, counted when its edit is left.
        connect(e, &QLineEdit::editingFinished, this, chronione([this] { zmiana(); }));
    }
    connect(&panel, &PanelKlawisza::zmianaWyboru, this,
            [this](int klawisz) { m_klawiszPokazany = klawisz >= 0; });
}

StanEdycji ZmianyOkna::stanOkna() const {
    return {m_stan.tabela, m_wkladka.napisy()};
}

void ZmianyOkna::zmiana() {
    m_historia.zmiana(stanOkna());
}

void ZmianyOkna::wczytanoDefinicje() {
    m_historia.wczytanoDefinicje(stanOkna());
}

void ZmianyOkna::zapisanoDefinicje() {
    m_historia.zapisanoDefinicje(stanOkna());
}

void ZmianyOkna::wczytanoNapisy() {
    m_historia.wczytanoNapisy(stanOkna());
}

void ZmianyOkna::zapisanoNapisy() {
    m_historia.zapisanoNapisy(stanOkna());
}

void ZmianyOkna::cofnij() {
    const auto cel = m_historia.cofnij(stanOkna());
    if (!cel)
        return;
    m_stan.tabela = cel->tabela;
    m_wkladka.ustawNapisy(cel->napisy);
    if (m_klawiszPokazany)
        m_panel.PokazKlawisz(m_panel.wybranyKlawisz());
}

bool ZmianyOkna::moznaZamknac() {
    const StanEdycji teraz = stanOkna();
    QStringList tekst;
    if (m_historia.niezapisaneDefinicje(teraz))
        tekst << kNiezapisaneDefinicje;
    if (m_historia.niezapisaneNapisy(teraz))
        tekst << kNiezapisaneNapisy;
    if (tekst.isEmpty())
        return true;
    tekst << kCzyZakonczyc;
    return m_dialogi.pytanie(m_okno, QStringLiteral("Uwaga"), tekst.join(QLatin1Char('\n')));
}

bool ZmianyOkna::eventFilter(QObject* obiekt, QEvent* zdarzenie) {
    // A text field takes Ctrl+Z for its own typing; with nothing of its own left to undo it
    // lets the window have it (the event is kept from the field, not accepted).
    if (zdarzenie->type() != QEvent::ShortcutOverride)
        return false;
    const auto* pole = qobject_cast<QLineEdit*>(obiekt);
    return pole && klawiszCofania(static_cast<QKeyEvent*>(zdarzenie)) && !pole->isUndoAvailable();
}
