#pragma once
// The program's hint timing: a hint appears 10 ms after the mouse comes to rest over a control
// that has one and goes again after a second. Qt's own timing keeps a hint up for ten seconds
// or more (by its length); its "fall asleep" delay is something else (how long after a hint
// the next one appears at once).

#include <QObject>
#include <QProxyStyle>

class QWidget;

constexpr int kPodpowiedzPoMs = 10;
constexpr int kPodpowiedzPrzezMs = 1000;

// The wake-up delay of hints.
class StylPodpowiedzi : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* opcja, const QWidget* widget,
                  QStyleHintReturn* zwrot) const override;
};

// Installed on the application: shows every hint for kPodpowiedzPrzezMs.
class PodpowiedziNaSekunde : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* obiekt, QEvent* zdarzenie) override;
};

// Places the window in the middle of the screen it is on (the primary one before it is shown).
void wysrodkuj(QWidget& okno);
