#include "core/OknoPostepu.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "core/PostepPracy.h"

OknoPostepu::OknoPostepu(const PostepPracy& postep, QWidget* rodzic)
    : QDialog(rodzic, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_postep(postep) {
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
    m_zegar.start();
    odswiez();
}

void OknoPostepu::odswiez() {
    const unsigned calosc = m_postep.calosc.load();
    const unsigned zrobione = std::min(m_postep.zrobione.load(), calosc);
    const qint64 teraz = m_zegar.elapsed();
    if (calosc == 0) {
        m_pasek->setRange(0, 0); // a moving bar: how much is left is not known
        m_ilosc->clear();
        m_czas->setText(QStringLiteral("Czas: %1 s").arg(teraz / 1000));
        return;
    }
    if (m_msPierwszego < 0) {
        m_pierwsze = zrobione;
        m_msPierwszego = teraz;
    }
    m_pasek->setRange(0, static_cast<int>(calosc));
    m_pasek->setValue(static_cast<int>(zrobione));
    m_ilosc->setText(TekstPostepu(zrobione, calosc, m_postep.jednostka));
    m_czas->setText(
        TekstPozostalo(PozostaloSekund(m_pierwsze, m_msPierwszego, zrobione, teraz, calosc)));
}

QString OknoPostepu::tekstIlosci() const {
    return m_ilosc->text();
}

QString OknoPostepu::tekstCzasu() const {
    return m_czas->text();
}
