#pragma once
// A captioned group of radio buttons addressed by item index, laid out in columns the way the
// original forms lay them out, painting its own background over whatever lies beneath it.
// Changing the index, by the user or from code, emits klikniecie() once; setting the index it
// already has does nothing.

#include <QGroupBox>
#include <QStringList>
#include <QVector>

class QButtonGroup;
class QRadioButton;

class TRadioGroup : public QGroupBox {
    Q_OBJECT
    Q_PROPERTY(QStringList items READ items WRITE setItems)
    Q_PROPERTY(int columns READ columns WRITE setColumns)
    Q_PROPERTY(int itemIndex READ itemIndex WRITE setItemIndex)
public:
    explicit TRadioGroup(QWidget* rodzic = nullptr);

    QStringList items() const { return m_items; }
    void setItems(const QStringList& items);
    int columns() const { return m_columns; }
    void setColumns(int c);
    int itemIndex() const { return m_index; }
    void setItemIndex(int i);
    QRadioButton* przycisk(int i) const;

signals:
    void klikniecie();

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void rozmiescPrzyciski();

    QStringList m_items;
    int m_columns = 1;
    int m_index = -1;
    QButtonGroup* m_grupa;
    QVector<QRadioButton*> m_przyciski;
};
