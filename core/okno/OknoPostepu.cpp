#include "core/okno/OknoPostepu.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "core/PostepPracy.h"

OknoPostepu::OknoPostepu(const PostepPracy& postep, QWidget* rodzic)
    : QDialog(rodzic, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_czytnik(postep) {
    setWindowTitle(QCoreApplication::applicationName());
    setObjectName(QStringLiteral("OknoPostepu"));
    auto* uklad = new QVBoxLayout(this);
    auto* nazwa = new QLabel(postep.nazwa, this);
    m_ilosc = new QLabel(this);
    m_pasek = new QProgressBar(this);
    m_pasek->setTextVisible(false);
    m_pasek->setMinimumWidth(320);
    m_czas = new QLabel(this);
    for (QWidget* w : {static_cast<QWidget*>(nazwa), static_cast<QWidget*>(m_ilosc),
                       static_cast<QWidget*>(m_pasek), static_cast<QWidget*>(m_czas)})
        uklad->addWidget(w);
    odswiez();
}

void OknoPostepu::odswiez() {
    const StanPostepu s = m_czytnik.odczytaj();
    if (s.calosc == 0) {
        m_pasek->setRange(0, 0); // a moving bar: how much is left is not known
        m_ilosc->clear();
    } else {
        m_pasek->setRange(0, static_cast<int>(s.calosc));
        m_pasek->setValue(static_cast<int>(s.zrobione));
        m_ilosc->setText(s.ilosc);
    }
    m_czas->setText(s.czas);
}

QString OknoPostepu::tekstIlosci() const {
    return m_ilosc->text();
}

QString OknoPostepu::tekstCzasu() const {
    return m_czas->text();
}
