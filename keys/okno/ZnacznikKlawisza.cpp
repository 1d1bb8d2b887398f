#include "keys/okno/ZnacznikKlawisza.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

#include "core/BladProgramu.h"
#include "core/okno/TRadioGroup.h"
#include "keys/Trafienia.h"

namespace {

// The frame lies this far outside the key's area, clear of its label edits.
constexpr int kOdstep = 3;
constexpr int kGrubosc = 3;

std::optional<Kierunek> kierunek(int klawisz) {
    switch (klawisz) {
    case Qt::Key_Left:
        return Kierunek::Lewo;
    case Qt::Key_Right:
        return Kierunek::Prawo;
    case Qt::Key_Up:
        return Kierunek::Gora;
    case Qt::Key_Down:
        return Kierunek::Dol;
    case Qt::Key_Home:
        return Kierunek::Pierwszy;
    case Qt::Key_End:
        return Kierunek::Ostatni;
    default:
        return std::nullopt;
    }
}

} // namespace

ZnacznikKlawisza::ZnacznikKlawisza(const WidokPanelu& widok, PanelKlawisza& panel)
    : QWidget(widok.iWkladka), m_widok(widok), m_panel(panel) {
    setObjectName(QStringLiteral("znacznikKlawisza"));
    // Clicks go through to the picture, whose handler selects.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(widok.iWkladka->rect());
    QLabel* obraz = widok.iWkladka;
    obraz->setFocusPolicy(Qt::TabFocus);
    obraz->setAccessibleName(QStringLiteral("Klawiatura kasy"));
    obraz->setAccessibleDescription(
        QStringLiteral("Strzałki, Home i End: wybór klawisza; Page Up i Page Down: warstwa Alt"));
    obraz->installEventFilter(this);
    connect(&panel, &PanelKlawisza::zmianaWyboru, this, [this](int klawisz) {
        m_klawisz = klawisz;
        update();
    });
    show();
}

std::optional<QRect> ZnacznikKlawisza::obszar() const {
    if (!istniejeKlawisz(m_panel.warstwa(), m_klawisz))
        return std::nullopt;
    // The click area, which the panel takes from the key's first label edit.
    const QLineEdit* e = m_widok.pierwszeLinie[static_cast<std::size_t>(m_klawisz)];
    const ObszarKlawisza o = obszarKlawisza(m_klawisz, {e->x(), e->y(), e->width(), e->height()});
    return QRect(QPoint(o.lewy, o.gorny), QPoint(o.prawy, o.dolny))
        .adjusted(-kOdstep, -kOdstep, kOdstep, kOdstep);
}

void ZnacznikKlawisza::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (const auto r = obszar()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), kGrubosc));
        p.drawRect(*r);
    }
    if (m_widok.iWkladka->hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void ZnacznikKlawisza::wybierz(int klawisz) {
    const QLineEdit* e = m_widok.pierwszeLinie[static_cast<std::size_t>(klawisz)];
    m_panel.iWkladkaMouseDown(Qt::LeftButton, Qt::NoModifier, e->x(), e->y());
}

bool ZnacznikKlawisza::klawiszNaObrazie(int klawisz) {
    if (const auto k = kierunek(klawisz)) {
        const int od = m_klawisz >= 0 ? m_klawisz : m_panel.wybranyKlawisz();
        wybierz(sasiedniKlawisz(m_panel.warstwa(), od, *k));
    } else if (klawisz == Qt::Key_PageUp || klawisz == Qt::Key_PageDown) {
        // The four layers in the order of rgAlty's items, round and round.
        const int krok = klawisz == Qt::Key_PageDown ? 1 : 3;
        m_widok.rgAlty->setItemIndex((m_panel.warstwa() + krok) % 4);
    } else {
        return false;
    }
    m_widok.iWkladka->setFocus(Qt::OtherFocusReason);
    return true;
}

bool ZnacznikKlawisza::eventFilter(QObject* obiekt, QEvent* zdarzenie) {
    if (obiekt != m_widok.iWkladka)
        return false;
    try {
        switch (zdarzenie->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            update();
            return false;
        case QEvent::Resize:
            setGeometry(m_widok.iWkladka->rect());
            return false;
        case QEvent::KeyPress: {
            const auto* k = static_cast<QKeyEvent*>(zdarzenie);
            if ((k->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
                return false;
            return klawiszNaObrazie(k->key());
        }
        default:
            return false;
        }
    } catch (...) {
        zglosBladObslugi(std::current_exception());
        return true;
    }
}
