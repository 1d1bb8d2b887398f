#include "core/okno/TRadioGroup.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QRadioButton>

TRadioGroup::TRadioGroup(QWidget* rodzic) : QGroupBox(rodzic), m_grupa(new QButtonGroup(this)) {
    // Opaque, as the original group is: a frame drawn on the form beneath it (the editor
    // panel's bevel) must not run through its caption and items.
    setAutoFillBackground(true);
    connect(m_grupa, &QButtonGroup::idClicked, this, [this](int id) { setItemIndex(id); });
}

void TRadioGroup::setItems(const QStringList& items) {
    qDeleteAll(m_przyciski);
    m_przyciski.clear();
    m_items = items;
    for (int i = 0; i < items.size(); ++i) {
        QString tekst = items[i];
        auto* p = new QRadioButton(tekst.replace(QLatin1Char('&'), QStringLiteral("&&")), this);
        p->setObjectName(objectName() + QStringLiteral("_") + QString::number(i));
        m_grupa->addButton(p, i);
        m_przyciski << p;
    }
    if (m_index >= items.size())
        m_index = -1;
    if (m_index >= 0)
        m_przyciski[m_index]->setChecked(true);
    // Placed before they are shown: a child shown without a size of its own is first sized to
    // its caption, a text measurement that the placing would throw away.
    rozmiescPrzyciski();
    for (QRadioButton* p : m_przyciski)
        p->show();
}

void TRadioGroup::setColumns(int c) {
    m_columns = qMax(1, c);
    rozmiescPrzyciski();
}

void TRadioGroup::setItemIndex(int i) {
    // The form sets the designed index before its items (they are set with the translatable
    // texts); keep it until the items come.
    if (m_items.isEmpty()) {
        m_index = i;
        return;
    }
    if (i < -1 || i >= m_items.size())
        i = -1;
    if (i == m_index)
        return;
    m_index = i;
    if (i >= 0) {
        m_przyciski[i]->setChecked(true);
    } else if (auto* zaznaczony = m_grupa->checkedButton()) {
        m_grupa->setExclusive(false);
        zaznaczony->setChecked(false);
        m_grupa->setExclusive(true);
    }
    emit klikniecie();
}

QRadioButton* TRadioGroup::przycisk(int i) const {
    return (i >= 0 && i < m_przyciski.size()) ? m_przyciski[i] : nullptr;
}

void TRadioGroup::resizeEvent(QResizeEvent* e) {
    QGroupBox::resizeEvent(e);
    rozmiescPrzyciski();
}

// Column-major, as the original group fills its columns: the first half of the items (rounded
// up) in the left column.
void TRadioGroup::rozmiescPrzyciski() {
    if (m_przyciski.isEmpty())
        return;
    const int naKolumne = (m_przyciski.size() + m_columns - 1) / m_columns;
    const int wysokoscTekstu = QFontMetrics(font()).height();
    const int szerokosc = (width() - 10) / m_columns;
    const int miejsce = height() - wysokoscTekstu - 5;
    const int wysokosc = qMax(1, miejsce / naKolumne);
    const int margines = wysokoscTekstu + 1 + (miejsce % naKolumne) / 2;
    for (int i = 0; i < m_przyciski.size(); ++i) {
        const int kolumna = i / naKolumne;
        const int lewa = kolumna * szerokosc + 8;
        // The last column may use the group's whole remaining width for its captions.
        const int w = kolumna == m_columns - 1 ? width() - lewa - 2 : szerokosc;
        m_przyciski[i]->setGeometry(lewa, (i % naKolumne) * wysokosc + margines, w, wysokosc);
    }
}
