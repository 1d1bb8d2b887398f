#include "keys/okno/SzukajTowaru.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QShortcut>
#include <QStringListModel>
#include <algorithm>

#include "core/BladProgramu.h"

namespace {

// Rows the list of matches shows at once; Page Up and Page Down move by as many.
constexpr int kWidoczneWiersze = 10;

} // namespace

SzukajTowaru::SzukajTowaru(QComboBox* cbTowary, QWidget* okno)
    : m_lista(cbTowary), m_okno(okno), m_pole(new QLineEdit(okno)),
      m_model(new QStringListModel(this)) {
    m_pole->setObjectName(QStringLiteral("poleSzukaniaTowaru"));
    m_pole->setPlaceholderText(QStringLiteral("Numer lub część nazwy"));
    m_pole->setAccessibleName(QStringLiteral("Szukaj towaru"));
    m_pole->hide();
    m_pole->installEventFilter(this);

    connect(m_pole, &QLineEdit::textChanged, this, chronione([this] { szukaj(m_pole->text()); }));
    auto* skrot = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), okno);
    skrot->setContext(Qt::WindowShortcut);
    connect(skrot, &QShortcut::activated, this, chronione([this] { otworz(); }));
}

QListView* SzukajTowaru::listaWynikow() {
    if (m_wyniki)
        return m_wyniki;
    m_wyniki = new QListView(m_okno);
    m_wyniki->setObjectName(QStringLiteral("listaSzukaniaTowaru"));
    m_wyniki->setModel(m_model);
    // Thousands of rows of one height are laid out without measuring each.
    m_wyniki->setUniformItemSizes(true);
    // The keys stay in the field; the list only shows and takes clicks.
    m_wyniki->setFocusPolicy(Qt::NoFocus);
    m_wyniki->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_wyniki->hide();
    // A click has made its row the current one.
    connect(m_wyniki, &QListView::clicked, this,
            chronione([this] { wybierz(m_wyniki->currentIndex().row()); }));
    return m_wyniki;
}

bool SzukajTowaru::otwarte() const {
    return !m_pole->isHidden();
}

void SzukajTowaru::otworz() {
    if (!m_lista->isVisible())
        return;
    if (!otwarte()) {
        // The items as shown now (the start-up import may have replaced them); the index is
        // built again only when they changed. The window's plain string list hands them over
        // without a copy, and comparing shared lists costs nothing.
        QStringList pozycje;
        if (const auto* model = qobject_cast<const QStringListModel*>(m_lista->model())) {
            pozycje = model->stringList();
        } else {
            for (int i = 0; i < m_lista->count(); ++i)
                pozycje << m_lista->itemText(i);
        }
        if (pozycje != m_pozycje) {
            m_indeks = IndeksTowarow(pozycje);
            m_pozycje = pozycje;
        }
        m_pole->setGeometry(QRect(m_lista->mapTo(m_okno, QPoint(0, 0)), m_lista->size()));
        m_pole->clear();
        m_pole->show();
        m_pole->raise();
    }
    m_pole->setFocus(Qt::ShortcutFocusReason);
}

void SzukajTowaru::szukaj(const QString& tekst) {
    m_trafienia = m_indeks.szukaj(tekst);
    QStringList teksty;
    teksty.reserve(static_cast<qsizetype>(m_trafienia.size()));
    for (int i : m_trafienia)
        teksty << m_pozycje.at(i);
    m_model->setStringList(teksty);

    // Nothing found shows in the field's text colour.
    QPalette paleta = m_okno->palette();
    if (m_trafienia.empty() && !tekst.trimmed().isEmpty())
        paleta.setColor(QPalette::Text, Qt::red);
    m_pole->setPalette(paleta);

    if (m_trafienia.empty()) {
        if (m_wyniki)
            m_wyniki->hide();
        return;
    }
    listaWynikow();
    const int wiersze = std::min<int>(kWidoczneWiersze, static_cast<int>(m_trafienia.size()));
    const int wysokosc = wiersze * m_wyniki->sizeHintForRow(0) + 2 * m_wyniki->frameWidth();
    const QRect pole = m_pole->geometry();
    m_wyniki->setGeometry(pole.left(), pole.bottom() + 1, pole.width(),
                          std::min(wysokosc, m_okno->height() - pole.bottom() - 1));
    m_wyniki->setCurrentIndex(m_model->index(0));
    m_wyniki->show();
    m_wyniki->raise();
}

void SzukajTowaru::przesun(int oIle) {
    const int ile = m_model->rowCount();
    if (ile == 0) // no matches listed, so no list made yet either
        return;
    const int wiersz = std::clamp(m_wyniki->currentIndex().row() + oIle, 0, ile - 1);
    m_wyniki->setCurrentIndex(m_model->index(wiersz));
}

void SzukajTowaru::wybierz(int wiersz) {
    if (wiersz < 0 || wiersz >= static_cast<int>(m_trafienia.size()))
        return;
    const int pozycja = m_trafienia[static_cast<std::size_t>(wiersz)];
    oddajFokus();
    m_lista->setCurrentIndex(pozycja);
    // What a choice with the mouse in the drop-down list signals besides the new index.
    emit m_lista->activated(pozycja);
    emit m_lista->textActivated(m_lista->itemText(pozycja));
}

void SzukajTowaru::oddajFokus() {
    m_lista->setFocus(Qt::OtherFocusReason);
    zamknij();
}

void SzukajTowaru::zamknij() {
    // A hidden field that held the focus would pass it on to the next control, possibly a
    // key label, which would select its key.
    if (m_pole->hasFocus())
        m_pole->clearFocus();
    if (m_wyniki)
        m_wyniki->hide();
    m_pole->hide();
    m_model->setStringList({});
    m_trafienia.clear();
}

bool SzukajTowaru::eventFilter(QObject* obiekt, QEvent* zdarzenie) {
    if (obiekt != m_pole)
        return false;
    try {
        if (zdarzenie->type() == QEvent::FocusOut) {
            // A context menu or another window taking the focus for a while keeps the field.
            const auto powod = static_cast<QFocusEvent*>(zdarzenie)->reason();
            if (powod != Qt::PopupFocusReason && powod != Qt::ActiveWindowFocusReason)
                zamknij();
            return false;
        }
        if (zdarzenie->type() != QEvent::KeyPress)
            return false;
        switch (static_cast<QKeyEvent*>(zdarzenie)->key()) {
        case Qt::Key_Down:
            przesun(1);
            return true;
        case Qt::Key_Up:
            przesun(-1);
            return true;
        case Qt::Key_PageDown:
            przesun(kWidoczneWiersze);
            return true;
        case Qt::Key_PageUp:
            przesun(-kWidoczneWiersze);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Taken here: passed on, Enter would also confirm the key in the panel.
            if (m_wyniki)
                wybierz(m_wyniki->currentIndex().row());
            return true;
        case Qt::Key_Escape:
            oddajFokus();
            return true;
        default:
            return false;
        }
    } catch (...) {
        zglosBladObslugi(std::current_exception());
        return true;
    }
}
