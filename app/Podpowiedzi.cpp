#include "app/Podpowiedzi.h"

#include <QGuiApplication>
#include <QHelpEvent>
#include <QScreen>
#include <QToolTip>
#include <QWidget>

int StylPodpowiedzi::styleHint(StyleHint hint, const QStyleOption* opcja, const QWidget* widget,
                               QStyleHintReturn* zwrot) const {
    if (hint == SH_ToolTip_WakeUpDelay)
        return kPodpowiedzPoMs;
    return QProxyStyle::styleHint(hint, opcja, widget, zwrot);
}

bool PodpowiedziNaSekunde::eventFilter(QObject* obiekt, QEvent* zdarzenie) {
    if (zdarzenie->type() != QEvent::ToolTip)
        return false;
    auto* widget = qobject_cast<QWidget*>(obiekt);
    if (!widget || widget->toolTip().isEmpty())
        return false;
    auto* h = static_cast<QHelpEvent*>(zdarzenie);
    QToolTip::showText(h->globalPos(), widget->toolTip(), widget, QRect(), kPodpowiedzPrzezMs);
    // Taken: the hint request goes no further up to the parents, which have none.
    h->accept();
    return true;
}

void wysrodkuj(QWidget& okno) {
    const QScreen* ekran = okno.screen() ? okno.screen() : QGuiApplication::primaryScreen();
    if (!ekran)
        return;
    QRect r = okno.frameGeometry();
    r.moveCenter(ekran->availableGeometry().center());
    okno.move(r.topLeft());
}
